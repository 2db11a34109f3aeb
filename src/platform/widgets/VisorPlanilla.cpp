#include "platform/widgets/VisorPlanilla.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/client/Recordset.h"
#include "platform/services/DialogosPorNombre.h"

VisorPlanilla& VisorPlanilla::Compartido() {
  static VisorPlanilla v;
  return v;
}

DialogoPlanilla VisorPlanilla::Leer(ado::Recordset& rs, const QString& titulo) {
  DialogoPlanilla d;
  d.titulo = titulo;
  QVector<int> mostradas;
  for (int i = 0; i < rs.FieldCount(); ++i) {
    const int t = rs.Fields(i).Type();
    if (t == ado::adBinary || t == ado::adVarBinary || t == ado::adLongVarBinary) continue;
    mostradas << i;
    d.columnas << rs.Fields(i).Name();
  }
  if (!(rs.Bof() && rs.Eof())) rs.MoveFirst();
  while (!rs.Eof()) {
    QStringList fila;
    for (int i : mostradas) {
      const ado::Value v = rs.Fields(i).GetValue();
      fila << (ado::IsNull(v) ? QString() : v.toString());
    }
    d.filas << fila;
    rs.MoveNext();
  }
  return d;
}

void VisorPlanilla::MostrarPlanilla(const QString& tabla, const QString& conexion, const QString& titulo,
                                    const ado::ConnectionPtr& abierta) {
  ado::ConnectionPtr cnn = abierta;
  if (!cnn || cnn->State() == ado::adStateClosed) {
    cnn = ado::Connection::Create();
    cnn->Open(conexion);
  }
  ado::Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM ") + tabla, cnn, ado::adOpenForwardOnly, ado::adLockReadOnly);
  DialogoPlanilla d = Leer(rs, titulo);
  rs.Close();
  ElOperador().MostrarModal(d);
}

void RegistrarVisorPlanilla() {
  RegistrarDialogo(QStringLiteral("VisorPlanilla"), [](DialogoModal& modal) {
    auto& d = static_cast<DialogoPlanilla&>(modal);
    QDialog ventana;
    ventana.setWindowTitle(d.titulo);
    auto* capa = new QVBoxLayout(&ventana);
    auto* tabla = new QTableWidget(d.filas.size(), d.columnas.size(), &ventana);
    tabla->setHorizontalHeaderLabels(d.columnas);
    tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int f = 0; f < d.filas.size(); ++f)
      for (int c = 0; c < d.filas[f].size(); ++c) tabla->setItem(f, c, new QTableWidgetItem(d.filas[f][c]));
    tabla->resizeColumnsToContents();
    capa->addWidget(tabla);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Close, &ventana);
    QObject::connect(botones, &QDialogButtonBox::rejected, &ventana, &QDialog::reject);
    capa->addWidget(botones);
    ventana.resize(800, 500);
    ventana.exec();
  });
}
