#include "company/form/ui/DlgCambiosDeOtroUsuario.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/services/DialogosPorNombre.h"
#include "platform/widgets/ConversorImagen.h"
#include "platform/widgets/CursorEspera.h"

namespace {

constexpr int kLadoLogo = 48;

QTableWidgetItem* Celda(ClaseDato clase, const ado::Value& v) {
  auto* item = new QTableWidgetItem(CambiosDeOtroUsuario::TextoDe(clase, v));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  if (clase == ClaseDato::Imagen) {
    const Imagen img = Imagen::DesdeBytes(v.toByteArray());
    if (!img.EsNula())
      item->setIcon(QIcon(QPixmap::fromImage(
          img.Dibujo().scaled(kLadoLogo, kLadoLogo, Qt::KeepAspectRatio, Qt::SmoothTransformation))));
  }
  return item;
}

}  // namespace

DlgCambiosDeOtroUsuario::DlgCambiosDeOtroUsuario(CambiosDeOtroUsuario& datos, QWidget* parent)
    : QDialog(parent), datos_(datos) {
  setObjectName(QStringLiteral("DlgCambiosDeOtroUsuario"));
  setWindowTitle(datos_.Titulo());
  setModal(true);
  auto* capa = new QVBoxLayout(this);
  explicacion_ = new QLabel(datos_.Explicacion(), this);
  explicacion_->setWordWrap(true);
  capa->addWidget(explicacion_);

  tabla_ = new QTableWidget(static_cast<int>(datos_.filas.size()), 4, this);
  tabla_->setObjectName(QStringLiteral("Tabla"));
  tabla_->setAccessibleName(QStringLiteral("Datos que cambiaron"));
  tabla_->setHorizontalHeaderLabels({QStringLiteral("Dato"), QStringLiteral("Al mostrarse"),
                                     QStringLiteral("Grabado ahora"), QStringLiteral("En esta pantalla")});
  tabla_->verticalHeader()->hide();
  tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tabla_->setSelectionMode(QAbstractItemView::NoSelection);
  tabla_->setTabKeyNavigation(false);
  tabla_->setIconSize(QSize(kLadoLogo, kLadoLogo));
  tabla_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (int i = 0; i < static_cast<int>(datos_.filas.size()); ++i) {
    const CambiosDeOtroUsuario::Fila& f = datos_.filas[i];
    tabla_->setItem(i, Dato, Celda(ClaseDato::Texto, f.titulo));
    tabla_->setItem(i, AlMostrarse, Celda(f.clase, f.mostrado));
    tabla_->setItem(i, Guardado, Celda(f.clase, f.guardado));
    tabla_->setItem(i, Pantalla, Celda(f.clase, f.pantalla));
    if (f.clase == ClaseDato::Imagen) tabla_->setRowHeight(i, kLadoLogo + 8);
    Marcar(i);
  }
  tabla_->installEventFilter(this);
  // The cursor only stands on the two values a row can keep.
  connect(tabla_, &QTableWidget::currentCellChanged, this, [this](int fila, int columna) {
    if (fila >= 0 && columna < Guardado) tabla_->setCurrentCell(fila, Guardado);
  });
  connect(tabla_, &QTableWidget::cellClicked, this, &DlgCambiosDeOtroUsuario::Elegir);
  capa->addWidget(tabla_, 1);
  auto* teclas =
      new QLabel(QStringLiteral("Flechas: moverse  ·  Espacio: elegir el valor  ·  Enter: grabar  ·  "
                                "Escape: cancelar"),
                 this);
  capa->addWidget(teclas);
  tabla_->setAccessibleDescription(teclas->text());
  if (datos_.filas.empty()) {
    tabla_->hide();
    teclas->hide();
  }

  auto* botones = new QHBoxLayout;
  botones->addStretch();
  grabar_ = new QPushButton(datos_.TextoGrabar(), this);
  grabar_->setObjectName(QStringLiteral("Grabar"));
  cancelar_ = new QPushButton(QStringLiteral("Cancelar"), this);
  cancelar_->setObjectName(QStringLiteral("Cancelar"));
  botones->addWidget(grabar_);
  botones->addWidget(cancelar_);
  capa->addLayout(botones);
  grabar_->setDefault(true);
  grabar_->setEnabled(datos_.Completo());
  connect(grabar_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelar_, &QPushButton::clicked, this, &QDialog::reject);

  if (datos_.filas.empty())
    resize(560, sizeHint().height());
  else
    resize(720, 200 + 40 * static_cast<int>(datos_.filas.size()));
  if (!datos_.filas.empty()) {
    tabla_->setFocus();
    tabla_->setCurrentCell(0, Pantalla);
  }
}

void DlgCambiosDeOtroUsuario::Marcar(int fila) {
  const Eleccion e = datos_.filas[fila].eleccion;
  for (int c : {Guardado, Pantalla}) {
    QTableWidgetItem* item = tabla_->item(fila, c);
    const bool elegida = (c == Guardado && e == Eleccion::Guardada) || (c == Pantalla && e == Eleccion::Mia);
    QFont fuente = item->font();
    fuente.setBold(elegida);
    item->setFont(fuente);
    const QString texto = CambiosDeOtroUsuario::TextoDe(
        datos_.filas[fila].clase, c == Guardado ? datos_.filas[fila].guardado : datos_.filas[fila].pantalla);
    item->setText(elegida ? QStringLiteral("✔ ") + texto : texto);
  }
}

void DlgCambiosDeOtroUsuario::Elegir(int fila, int columna) {
  if (fila < 0 || fila >= static_cast<int>(datos_.filas.size()) || columna < Guardado) return;
  Eleccion& e = datos_.filas[fila].eleccion;
  const Eleccion bajoCursor = columna == Guardado ? Eleccion::Guardada : Eleccion::Mia;
  // Space again on the value already picked switches to the other one.
  e = e == bajoCursor ? (bajoCursor == Eleccion::Mia ? Eleccion::Guardada : Eleccion::Mia) : bajoCursor;
  Marcar(fila);
  grabar_->setEnabled(datos_.Completo());
}

bool DlgCambiosDeOtroUsuario::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == tabla_ && evento->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(evento);
    if (k->key() == Qt::Key_Space) {
      Elegir(tabla_->currentRow(), tabla_->currentColumn());
      return true;
    }
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      if (grabar_->isEnabled()) accept();
      return true;
    }
  }
  return QDialog::eventFilter(objeto, evento);
}

void DlgCambiosDeOtroUsuario::Atender() {
  datos_.respuesta = exec() == QDialog::Accepted && datos_.Completo()
                         ? CambiosDeOtroUsuario::Respuesta::Grabar
                         : CambiosDeOtroUsuario::Respuesta::Cancelar;
}

void RegistrarDlgCambiosDeOtroUsuario() {
  RegistrarDialogo(QString::fromLatin1(CambiosDeOtroUsuario::kNombre), [](DialogoModal& d) {
    // GRABAR runs under the wait cursor; the operator answers under the usual one.
    const CursorNormalMientras normal;
    DlgCambiosDeOtroUsuario dlg(dynamic_cast<CambiosDeOtroUsuario&>(d));
    dlg.Atender();
  });
}
