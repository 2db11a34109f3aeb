#include "lookup/ui/Lib_FrmCons3Tree.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "lookup/ListaConsulta.h"
#include "lookup/ui/BotonesConsulta.h"
#include "lookup/ui/TeclasVentana.h"
#include "platform/widgets/CursorEspera.h"

Lib_FrmCons3Tree::Lib_FrmCons3Tree(SolicitudArbol& solicitud, QWidget* padre)
    : QDialog(padre), logica_(solicitud) {
  setObjectName(QStringLiteral("Lib_FrmCons3Tree"));
  setWindowTitle(QStringLiteral("Consulta..."));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  caja_ = new QLineEdit(this);
  caja_->setObjectName(QStringLiteral("CmbSearch0"));
  caja_->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
  caja_->setAccessibleName(QStringLiteral("Buscar por código o descripción"));
  caja_->installEventFilter(this);
  arbol_ = new QTreeWidget(this);
  arbol_->setObjectName(QStringLiteral("TreeV"));
  arbol_->setAccessibleName(QStringLiteral("Códigos"));
  arbol_->setAccessibleDescription(QStringLiteral("Enter o doble clic: elegir; Escape: cancelar"));
  arbol_->setHeaderHidden(true);
  arbol_->setColumnCount(1);
  v->addWidget(caja_);
  v->addWidget(arbol_, 1);
  auto* frame1 = new QWidget(this);
  frame1->setObjectName(QStringLiteral("Frame1"));
  auto* h = new QHBoxLayout(frame1);
  const BotonesConsulta b = CrearBotonesConsulta(frame1, h);
  aceptar_ = b.aceptar;
  cancelar_ = b.cancelar;
  nueva_ = b.nueva;
  v->addWidget(frame1, 0, Qt::AlignHCenter);
  resize(420, 460);

  connect(aceptar_, &QPushButton::clicked, &logica_, &ArbolConsulta::Aceptar);
  connect(cancelar_, &QPushButton::clicked, &logica_, &ArbolConsulta::Cancelar);
  connect(nueva_, &QPushButton::clicked, &logica_, [this] {
    const CursorEspera espera;
    logica_.NuevaBusqueda();
  });
  connect(arbol_, &QTreeWidget::itemDoubleClicked, this, [this] { logica_.Aceptar(); });
  connect(arbol_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* actual) {
    if (!armando_) logica_.SeleccionarNodo(static_cast<int>(items_.indexOf(actual)));
  });
  connect(arbol_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
    if (armando_) return;
    const int n = static_cast<int>(items_.indexOf(item));
    if (n < 0) return;
    const bool marcado = item->checkState(0) == Qt::Checked;
    if (marcado != logica_.Nodos()[n].marcado) logica_.MarcarNodo(n, marcado);
  });
  connect(caja_, &QLineEdit::textEdited, &logica_, &ArbolConsulta::CambioBusqueda);
  connect(&logica_, &ArbolConsulta::Reconstruido, this, &Lib_FrmCons3Tree::Reconstruir);
  connect(&logica_, &ArbolConsulta::MarcasCambiadas, this, &Lib_FrmCons3Tree::RefrescarMarcas);
  connect(&logica_, &ArbolConsulta::NodoElegido, this, [this](int n) {
    if (QTreeWidgetItem* i = Item(n)) {
      arbol_->setCurrentItem(i);
      arbol_->scrollToItem(i);
    }
  });
  connect(&logica_, &ArbolConsulta::TextoBusquedaCambiado, this, [this](const QString& t) {
    if (caja_->text() != t) caja_->setText(t);
  });
  connect(&logica_, &ArbolConsulta::FocoEnArbol, this, [this] { arbol_->setFocus(); });
  connect(&logica_, &ArbolConsulta::Ocultar, this, [this] { done(QDialog::Accepted); });
}

Lib_FrmCons3Tree::~Lib_FrmCons3Tree() = default;

void Lib_FrmCons3Tree::Cargar() {
  const CursorEspera espera;
  logica_.Cargar();
}

void Lib_FrmCons3Tree::Descargar() {
  logica_.Descargar();
  arbol_->clear();
  items_.clear();
}

void Lib_FrmCons3Tree::Reconstruir() {
  armando_ = true;
  arbol_->clear();
  items_.clear();
  const bool casillas = logica_.Solicitud().CheckBoxes;
  for (const NodoArbol& n : logica_.Nodos()) {
    QTreeWidgetItem* item = n.padre >= 0 && n.padre < items_.size() ? new QTreeWidgetItem(items_[n.padre])
                                                                    : new QTreeWidgetItem(arbol_);
    item->setText(0, n.texto);
    if (casillas) {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(0, n.marcado ? Qt::Checked : Qt::Unchecked);
    }
    items_.push_back(item);
  }
  if (!items_.isEmpty()) items_[0]->setExpanded(true);
  armando_ = false;
}

void Lib_FrmCons3Tree::RefrescarMarcas() {
  if (!logica_.Solicitud().CheckBoxes) return;
  armando_ = true;
  const QVector<NodoArbol>& nodos = logica_.Nodos();
  for (int i = 0; i < items_.size() && i < nodos.size(); ++i)
    items_[i]->setCheckState(0, nodos[i].marcado ? Qt::Checked : Qt::Unchecked);
  armando_ = false;
}

void Lib_FrmCons3Tree::reject() {
  if (!logica_.Oculto()) logica_.Cancelar();
  if (isVisible()) QDialog::reject();
}

bool Lib_FrmCons3Tree::eventFilter(QObject* objeto, QEvent* evento) {
  if (objeto == caja_ && evento->type() == QEvent::KeyPress) {
    const int codigo = teclas_qt::Codigo(*static_cast<QKeyEvent*>(evento));
    switch (codigo) {
      case teclas::F5: {
        const CursorEspera espera;
        logica_.TeclaBusqueda(codigo);
        return true;
      }
      case teclas::Abajo:
      case teclas::Arriba:
      case teclas::AvPag:
      case teclas::RePag:
        logica_.TeclaBusqueda(codigo);
        return true;
      default:
        return false;
    }
  }
  return QDialog::eventFilter(objeto, evento);
}
