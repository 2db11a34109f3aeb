#include "lookup/ui/Lib_FrmCons3.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>

#include "lookup/GeometriaConsulta.h"
#include "lookup/ui/BotonesConsulta.h"
#include "lookup/ui/TeclasVentana.h"
#include "platform/services/Utilidades.h"
#include "platform/widgets/CursorEspera.h"

using teclas_qt::Px;
using teclas_qt::Tw;

namespace {

QColor DeBgr(quint32 c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Stock colours and bold rows of the logic's model, as the view draws them.
class VistaStock : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& i, int rol) const override {
    if (rol == Qt::ForegroundRole) {
      const QVariant c = QIdentityProxyModel::data(i, ModeloConsulta::RolColor);
      return c.isValid() ? QVariant(DeBgr(c.toUInt())) : QVariant();
    }
    if (rol == Qt::FontRole) {
      if (!QIdentityProxyModel::data(i, ModeloConsulta::RolNegrita).toBool()) return {};
      QFont f;
      f.setBold(true);
      return f;
    }
    return QIdentityProxyModel::data(i, rol);
  }
};

constexpr int AltoCaja = 22;

}  // namespace

Lib_FrmCons3::Lib_FrmCons3(SolicitudLista& solicitud, QWidget* padre) : QDialog(padre), logica_(solicitud) {
  setObjectName(QStringLiteral("Lib_FrmCons3"));
  setWindowTitle(QStringLiteral("Consulta..."));
  setModal(true);

  picFields_ = new QWidget(this);
  picFields_->setObjectName(QStringLiteral("picFields"));
  lista_ = new QTreeView(picFields_);
  lista_->setObjectName(QStringLiteral("ListView1"));
  lista_->setAccessibleName(QStringLiteral("Resultados"));
  lista_->setAccessibleDescription(QStringLiteral("Enter o doble clic: elegir; Escape: cancelar"));
  lista_->setRootIsDecorated(false);
  lista_->setUniformRowHeights(true);
  lista_->setItemsExpandable(false);
  lista_->setAllColumnsShowFocus(true);
  lista_->setSelectionMode(QAbstractItemView::SingleSelection);
  lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lista_->header()->setStretchLastSection(false);
  lista_->header()->setSectionsClickable(true);
  lista_->header()->setSectionsMovable(false);
  vista_ = new VistaStock(this);
  vista_->setSourceModel(&logica_.Modelo());
  lista_->setModel(vista_);
  lista_->installEventFilter(this);

  frame1_ = new QFrame(this);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  auto* botones = new QHBoxLayout(frame1_);
  const BotonesConsulta b = CrearBotonesConsulta(frame1_, botones);
  aceptar_ = b.aceptar;
  cancelar_ = b.cancelar;
  nueva_ = b.nueva;
  for (QPushButton* boton : {aceptar_, cancelar_, nueva_}) boton->installEventFilter(this);
  frame1_->adjustSize();
  NuevaCaja(0);

  const QFontMetrics fm(font());
  logica_.FijarAnchoLetras([fm](int n) { return Tw(fm.horizontalAdvance(QString(n, QLatin1Char('X')))); });

  connect(aceptar_, &QPushButton::clicked, &logica_, &ListaConsulta::Aceptar);
  connect(cancelar_, &QPushButton::clicked, &logica_, &ListaConsulta::Cancelar);
  connect(nueva_, &QPushButton::clicked, &logica_, [this] {
    const CursorEspera espera;
    logica_.NuevaBusqueda();
  });
  connect(lista_, &QTreeView::doubleClicked, &logica_, [this] { logica_.Aceptar(); });
  connect(lista_->header(), &QHeaderView::sectionClicked, this, [this](int c) {
    logica_.ClickColumna(c);
    lista_->header()->setSortIndicatorShown(true);
    lista_->header()->setSortIndicator(logica_.ColumnaOrden(), logica_.Orden());
  });
  connect(lista_->header(), &QHeaderView::sectionResized, this, [this](int c, int, int nuevo) {
    if (ajustando_) return;
    logica_.FijarAnchoColumna(c, Tw(nuevo));
    UbicarCajas();
  });
  connect(lista_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { UbicarCajas(); });
  connect(&logica_, &ListaConsulta::Recargado, this, &Lib_FrmCons3::AlRecargar);
  connect(&logica_, &ListaConsulta::FilaElegida, this, [this](int fila) {
    const QModelIndex i = vista_->index(fila, 0);
    lista_->setCurrentIndex(i);
    lista_->scrollTo(i);
  });
  connect(&logica_, &ListaConsulta::TextoCaja, this, [this](int c, const QString& t) {
    while (cajas_.size() <= c) NuevaCaja(static_cast<int>(cajas_.size()));
    if (cajas_[c]->text() != t) cajas_[c]->setText(t);
  });
  connect(&logica_, &ListaConsulta::FocoEnCaja, this, [this](int c) {
    if (QLineEdit* caja = Caja(c)) caja->setFocus();
  });
  connect(&logica_, &ListaConsulta::FocoEnLista, this, [this] { lista_->setFocus(); });
  // The list's model is set once, so its selection model lives as long as the dialog.
  connect(
      lista_->selectionModel(), &QItemSelectionModel::currentChanged, this,
      [this](const QModelIndex& actual) { logica_.SeleccionarFila(actual.isValid() ? actual.row() : -1); });
  connect(&logica_, &ListaConsulta::Ocultar, this, [this] { done(QDialog::Accepted); });
}

Lib_FrmCons3::~Lib_FrmCons3() = default;

QLineEdit* Lib_FrmCons3::NuevaCaja(int i) {
  auto* caja = new QLineEdit(picFields_);
  caja->setObjectName(QStringLiteral("CmbSearch%1").arg(i));
  caja->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
  caja->setAccessibleName(QStringLiteral("Buscar"));
  caja->setAutoFillBackground(true);
  caja->installEventFilter(this);
  connect(caja, &QLineEdit::textEdited, this, [this, i](const QString& t) { logica_.CambioCaja(i, t); });
  cajas_.push_back(caja);
  ColorCaja(i, false);
  if (i > 0) setTabOrder(cajas_[i - 1], caja);
  return caja;
}

void Lib_FrmCons3::ColorCaja(int i, bool foco) {
  QLineEdit* caja = Caja(i);
  if (!caja) return;
  QPalette p = caja->palette();
  p.setColor(QPalette::Base, DeBgr(foco ? ListaConsulta::ColorFoco : ListaConsulta::ColorSinFoco));
  caja->setPalette(p);
}

void Lib_FrmCons3::Cargar() {
  {
    const CursorEspera espera;
    logica_.Cargar();
  }
  if (QLineEdit* c = Caja(0)) c->setFocus();
}

void Lib_FrmCons3::Descargar() { logica_.Descargar(); }

void Lib_FrmCons3::AlRecargar() {
  const int campos = logica_.CajasVisibles();
  while (cajas_.size() < campos) NuevaCaja(static_cast<int>(cajas_.size()));
  for (int i = 0; i < cajas_.size(); ++i) {
    cajas_[i]->setVisible(i < campos);
    // Read as the column it searches.
    const QString columna = vista_->headerData(i, Qt::Horizontal).toString().trimmed();
    cajas_[i]->setAccessibleName(columna.isEmpty() ? QStringLiteral("Buscar")
                                                   : QStringLiteral("Buscar en ") + columna);
    if (i < logica_.TextosCajas().size() && cajas_[i]->text() != logica_.TextosCajas()[i])
      cajas_[i]->setText(logica_.TextosCajas()[i]);
  }
  lista_->header()->setSortIndicatorShown(logica_.Ordenado());
  if (logica_.Ordenado()) lista_->header()->setSortIndicator(logica_.ColumnaOrden(), logica_.Orden());

  // CalcularAncho over the widths the logic settled on.
  const QVector<double>& anchos = logica_.Anchos();
  ajustando_ = true;
  for (int i = 0; i < anchos.size(); ++i) lista_->header()->resizeSection(i, Px(anchos[i]));
  ajustando_ = false;
  const QScreen* pantalla = screen();
  const double anchoPantalla = Tw(pantalla ? pantalla->availableGeometry().width() : 1024);
  const geometria::Columnas g = geometria::CalcularAncho(anchos, anchoPantalla);
  resize(Px(g.anchoFormulario), height() < 200 ? 420 : height());
  UbicarCajas();
  Utilidades::Compartido().PrepararFormulario(this, false);
}

void Lib_FrmCons3::UbicarCajas() {
  // The boxes stay over their columns while the list scrolls sideways.
  const QHeaderView* h = lista_->header();
  for (int i = 0; i < cajas_.size(); ++i) {
    if (i >= h->count()) continue;
    const int x = lista_->x() + lista_->viewport()->x() + h->sectionViewportPosition(i);
    cajas_[i]->setGeometry(x, 0, std::max(10, h->sectionSize(i) - Px(50)), AltoCaja);
  }
}

void Lib_FrmCons3::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  const double altoMarco = Tw(frame1_->sizeHint().height());
  const double anchoMarco = Tw(frame1_->sizeHint().width());
  const geometria::Formulario f =
      geometria::AlRedimensionar(Tw(width()), Tw(height()), altoMarco, anchoMarco, 0);
  picFields_->setGeometry(Px(60), Px(60), Px(f.anchoContenedor), std::max(60, Px(f.altoContenedor)));
  lista_->setGeometry(0, AltoCaja + 2, Px(f.anchoLista), std::max(40, picFields_->height() - AltoCaja - 2));
  frame1_->setGeometry(Px(f.izquierdaMarco), height() - frame1_->sizeHint().height() - Px(120),
                       frame1_->sizeHint().width(), frame1_->sizeHint().height());
  UbicarCajas();
}

void Lib_FrmCons3::reject() {
  // Closing the window is the operator's cancel.
  if (!logica_.Oculto()) logica_.Cancelar();
  if (isVisible()) QDialog::reject();
}

bool Lib_FrmCons3::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::FocusIn || evento->type() == QEvent::FocusOut) {
    const int i = static_cast<int>(cajas_.indexOf(qobject_cast<QLineEdit*>(objeto)));
    if (i >= 0) {
      const bool entra = evento->type() == QEvent::FocusIn;
      if (entra) logica_.FocoCaja(i);
      ColorCaja(i, entra);
    }
    return false;
  }
  if (evento->type() != QEvent::KeyPress) return QDialog::eventFilter(objeto, evento);
  const auto* k = static_cast<QKeyEvent*>(evento);
  const int codigo = teclas_qt::Codigo(*k);
  if (logica_.TeclaFormulario(codigo)) return true;
  if (objeto == lista_) return logica_.TeclaLista(codigo, teclas_qt::Shift(*k), k->text());
  const int i = static_cast<int>(cajas_.indexOf(qobject_cast<QLineEdit*>(objeto)));
  if (i >= 0) {
    switch (codigo) {
      case teclas::F5: {
        const CursorEspera espera;
        logica_.TeclaCaja(i, codigo);
        return true;
      }
      case teclas::Abajo:
      case teclas::Arriba:
      case teclas::AvPag:
      case teclas::RePag:
        logica_.TeclaCaja(i, codigo);
        return true;
      case teclas::Enter:
        // The operator who typed part of a name takes the row it found, as with Aceptar.
        logica_.Aceptar();
        return true;
      default:
        return false;
    }
  }
  return false;
}
