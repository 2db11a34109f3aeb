#include "company/form/ui/frmHistoriaEmpresa.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "company/rules/HistoriaEmpresa.h"
#include "platform/services/DialogosPorNombre.h"

void ArmarFrmHistoriaEmpresa(QDialog& ventana, const DialogoHistoria& d) {
  ventana.setObjectName(QStringLiteral("frmHistoriaEmpresa"));
  ventana.setWindowTitle(d.titulo);
  auto* capa = new QVBoxLayout(&ventana);
  const QStringList titulos{QStringLiteral("Fecha y hora"), QStringLiteral("Usuario"),
                            QStringLiteral("Estación"),     QStringLiteral("Operación"),
                            QStringLiteral("Campo"),        QStringLiteral("Valor anterior"),
                            QStringLiteral("Valor nuevo")};
  auto* tabla = new QTableWidget(d.filas.size(), titulos.size(), &ventana);
  tabla->setObjectName(QStringLiteral("lstHistoria"));
  tabla->setAccessibleName(QStringLiteral("Cambios registrados"));
  tabla->setHorizontalHeaderLabels(titulos);
  tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tabla->setSelectionBehavior(QAbstractItemView::SelectRows);
  tabla->setSelectionMode(QAbstractItemView::SingleSelection);
  tabla->verticalHeader()->hide();
  for (int f = 0; f < d.filas.size(); ++f) {
    const FilaHistoria& h = d.filas[f];
    const QStringList celdas{h.momento, h.usuario, h.estacion, h.operacion, h.campo, h.antes, h.despues};
    for (int c = 0; c < celdas.size(); ++c) tabla->setItem(f, c, new QTableWidgetItem(celdas[c]));
  }
  tabla->resizeColumnsToContents();
  tabla->horizontalHeader()->setStretchLastSection(true);
  if (d.filas.isEmpty()) {
    const QString nada = QStringLiteral("No hay cambios registrados para esta empresa.");
    capa->addWidget(new QLabel(nada, &ventana));
    tabla->setAccessibleDescription(nada);
  } else {
    tabla->setCurrentCell(0, 0);
  }
  capa->addWidget(tabla);
  auto* botones = new QDialogButtonBox(&ventana);
  QPushButton* cerrar = botones->addButton(QStringLiteral("&Cerrar"), QDialogButtonBox::RejectRole);
  cerrar->setDefault(true);
  QObject::connect(botones, &QDialogButtonBox::rejected, &ventana, &QDialog::reject);
  capa->addWidget(botones);
  tabla->setFocus();
  ventana.resize(900, 450);
}

void RegistrarFrmHistoriaEmpresa() {
  RegistrarDialogo(QStringLiteral("frmHistoriaEmpresa"), [](DialogoModal& modal) {
    QDialog ventana;
    ArmarFrmHistoriaEmpresa(ventana, static_cast<DialogoHistoria&>(modal));
    ventana.exec();
  });
}
