#include "company/form/ui/frmMA_Empresas.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

#include "company/form/ui/DlgCambiosDeOtroUsuario.h"
#include "company/form/ui/GrillaFlex.h"
#include "company/form/ui/frmPlanillaEmpresas.h"
#include "db/DB_Dll.h"
#include "platform/services/DialogosPorNombre.h"
#include "platform/services/Utilidades.h"
#include "platform/widgets/ActBar.h"
#include "platform/widgets/CodigosTecla.h"
#include "platform/widgets/Controles.h"
#include "platform/widgets/CursorEspera.h"
#include "platform/widgets/DialogoArchivo.h"
#include "platform/widgets/LargoMaximo.h"
#include "platform/widgets/NavBar.h"
#include "session/ui/ConfigurarFormulario.h"

static void CargarRecursosEmpresas() { Q_INIT_RESOURCE(empresas); }

namespace {

// The logo's toolbar: key, icon and shortcut of each button.
struct BotonLogo {
  const char* clave;
  QStyle::StandardPixmap icono;
  int codigoTecla;
  int shift;
  const char* nombreTecla;
};
constexpr BotonLogo kBotonesLogo[] = {
    {"Buscar", QStyle::SP_DirOpenIcon, tecla::Letra('L'), tecla::Control, "Ctrl+L"},
    {"Eliminar", QStyle::SP_TrashIcon, tecla::Letra('L'), tecla::Control | tecla::Mayusculas, "Ctrl+Mayús+L"},
};

// Bar actions that read or write much: the operator sees the wait cursor.
bool EsAccionLarga(const QString& clave) {
  return clave.compare(QLatin1String("GRABAR"), Qt::CaseInsensitive) == 0 ||
         clave.compare(QLatin1String("CANCELAR"), Qt::CaseInsensitive) == 0;
}

QLabel* Etiqueta(const QString& texto, QWidget* parent) {
  auto* l = new QLabel(texto, parent);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return l;
}

// A field's label, tied to it: a screen reader names the field by it, and Alt
// with the field's letter moves there.
QLabel* EtiquetaDe(const CampoEmpresa& c, QWidget* campo, QWidget* parent) {
  QString texto = QString::fromLatin1(c.etiqueta);
  const int letra = static_cast<int>(texto.indexOf(QLatin1Char(c.tecla)));
  if (letra >= 0) texto.insert(letra, QLatin1Char('&'));
  QLabel* l = Etiqueta(texto, parent);
  l->setBuddy(campo);
  QString nombre = QString::fromLatin1(c.etiqueta);
  nombre.remove(QLatin1Char(':'));
  campo->setAccessibleName(nombre.trimmed());
  QString teclas = QStringLiteral("Alt+") + QChar::fromLatin1(c.tecla).toUpper();
  if (*c.tag) teclas += QStringLiteral("; F3 o clic derecho: consulta");
  campo->setAccessibleDescription(teclas);
  return l;
}


}  // namespace

frmMA_Empresas::frmMA_Empresas(QWidget* parent) : QWidget(parent) {
  CargarRecursosEmpresas();
  setObjectName(QStringLiteral("frmMA_Empresas"));
  setWindowTitle(QStringLiteral("Empresas"));
  setAttribute(Qt::WA_DeleteOnClose, false);

  auto* capa = new QVBoxLayout(this);
  pestanas_ = new QTabWidget(this);
  pestanas_->setObjectName(QStringLiteral("SSTab1"));
  pestanas_->setAccessibleName(QStringLiteral("Datos de la empresa"));
  pestanas_->addTab(ArmarDatosGenerales(), QStringLiteral(" &Datos Generales"));
  pestanas_->addTab(ArmarUsuarios(), QStringLiteral("&Usuarios"));
  pestanas_->addTab(ArmarPersonalizados(), QStringLiteral("Campos &Personalizados"));
  capa->addWidget(pestanas_, 1);
  lblEstadoTablas_ = new QLabel(this);
  lblEstadoTablas_->setObjectName(QStringLiteral("LblEstadoTablas"));
  lblEstadoTablas_->setAccessibleDescription(QStringLiteral("Tablas propias de la empresa"));
  capa->addWidget(lblEstadoTablas_);
  lblAviso_ = new QLabel(this);
  lblAviso_->setObjectName(QStringLiteral("LblAviso"));
  lblAviso_->setWordWrap(true);
  lblAviso_->setAccessibleDescription(QStringLiteral("Aviso de la última grabación"));
  capa->addWidget(lblAviso_);

  actBar_ = new ActBar(this);
  actBar_->setObjectName(QStringLiteral("ActBar1"));
  capa->addWidget(actBar_);

  // Tab order of the fields as designed.
  std::array<int, kCamposEmpresa> orden{};
  for (int i = 0; i < kCamposEmpresa; ++i) orden[kTablaCampos[i].ordenTab] = i;
  for (int k = 1; k < kCamposEmpresa; ++k) QWidget::setTabOrder(campos_[orden[k - 1]], campos_[orden[k]]);

  logica_ = std::make_unique<FormEmpresas>(*this);

  connect(actBar_, &BarraBotones::Click, this, [this](const QString& k) {
    std::optional<CursorEspera> espera;
    if (EsAccionLarga(k)) espera.emplace();
    logica_->ActBar1_Click(k);
  });
  // PRIMERO and ULTIMO read the whole table again, and so does the first move after load.
  connect(navBar_, &BarraBotones::Click, this, [this](const QString& k) {
    const CursorEspera espera;
    logica_->NavBar1_Click(k);
  });
  grilla_->alTeclear = [this](int k) { logica_->MSFlexPers_KeyPress(k); };
  grilla_->alDobleClic = [this] { logica_->MSFlexPers_DblClick(); };
  grilla_->alRecibirFoco = [this] { logica_->MSFlexPers_GotFocus(); };
  connect(grilla_, &QTableWidget::currentCellChanged, this, [this] { logica_->MSFlexPers_LeaveCell(); });
  editor_->alTeclaAbajo = [this](int k, int s) { logica_->TxtEdit_KeyDown(k, s); };
  editor_->alTeclear = [this](int& k) { logica_->TxtEdit_KeyPress(k); };

  if (!BuscarDialogo(QString::fromLatin1(DialogoPlanillaEmpresas::kNombre))) RegistrarFrmPlanillaEmpresas();
  if (!BuscarDialogo(QString::fromLatin1(CambiosDeOtroUsuario::kNombre))) RegistrarDlgCambiosDeOtroUsuario();
  qApp->installEventFilter(this);
  resize(820, 600);
}

frmMA_Empresas::~frmMA_Empresas() { qApp->removeEventFilter(this); }

QWidget* frmMA_Empresas::ArmarDatosGenerales() {
  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("Frame1"));
  auto* grid = new QGridLayout(frame);
  grid->setHorizontalSpacing(8);

  auto crear = [&](int i) {
    const CampoEmpresa& c = kTablaCampos[i];
    QWidget* w;
    if (c.dosLineas) {
      auto* p = new QPlainTextEdit(frame);
      p->setTabChangesFocus(true);
      p->setFixedHeight(p->fontMetrics().lineSpacing() * 2 + 12);
      w = p;
    } else {
      w = new QLineEdit(frame);
    }
    w->setObjectName(QStringLiteral("txtFields_%1").arg(i));
    w->setProperty("DataField", QString::fromLatin1(c.columna));
    w->setProperty("Tag", QString::fromLatin1(c.tag));
    // Its events reach the form through the application-wide filter; a filter
    // of its own as well would hand each key it lets through to the logic twice.
    w->setContextMenuPolicy(Qt::NoContextMenu);
    campos_[i] = w;
    return w;
  };
  for (int i = 0; i < kCamposEmpresa; ++i) crear(i);
  auto etiqueta = [&](int i) { return EtiquetaDe(kTablaCampos[i], campos_[i], frame); };

  // Columns: label, field, label, field, label, field, label, field.
  int fila = 0;
  grid->addWidget(etiqueta(0), fila, 0);
  grid->addWidget(campos_[0], fila, 1, 1, 2);
  campos_[0]->setToolTip(QStringLiteral("Ctrl+H: historial de cambios de esta empresa"));
  campos_[0]->setAccessibleDescription(campos_[0]->accessibleDescription() + QStringLiteral("; ") +
                                       campos_[0]->toolTip());
  ++fila;
  grid->addWidget(etiqueta(1), fila, 0);
  grid->addWidget(campos_[1], fila, 1, 1, 7);
  ++fila;
  grid->addWidget(etiqueta(2), fila, 0);
  grid->addWidget(campos_[2], fila, 1, 1, 3);
  grid->addWidget(etiqueta(3), fila, 4);
  grid->addWidget(campos_[3], fila, 5);
  grid->addWidget(etiqueta(4), fila, 6);
  auto* pisoDpto = new QHBoxLayout;
  pisoDpto->addWidget(campos_[4]);
  pisoDpto->addWidget(etiqueta(5));
  pisoDpto->addWidget(campos_[5]);
  grid->addLayout(pisoDpto, fila, 7);
  ++fila;
  grid->addWidget(etiqueta(6), fila, 0);
  grid->addWidget(campos_[6], fila, 1, 1, 3);
  grid->addWidget(etiqueta(7), fila, 4);
  grid->addWidget(campos_[7], fila, 5);
  ++fila;
  grid->addWidget(etiqueta(13), fila, 0);
  grid->addWidget(campos_[13], fila, 1);
  lblProvincia_ = new QLabel(frame);
  lblProvincia_->setObjectName(QStringLiteral("LblIdProvincia"));
  lblProvincia_->setFrameShape(QFrame::StyledPanel);
  lblProvincia_->setFrameShadow(QFrame::Sunken);
  lblProvincia_->setAccessibleDescription(QStringLiteral("Nombre de la provincia"));
  grid->addWidget(lblProvincia_, fila, 2, 1, 2);
  grid->addWidget(etiqueta(10), fila, 4);
  grid->addWidget(campos_[10], fila, 5);
  lblPadron_ = new QLabel(frame);
  lblPadron_->setObjectName(QStringLiteral("LblPadron"));
  lblPadron_->setWordWrap(true);
  // A long registered name wraps rather than widening the window.
  lblPadron_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  PonerPadron(QString(), QString());
  grid->addWidget(lblPadron_, fila, 6, 1, 2);
  ++fila;
  grid->addWidget(etiqueta(8), fila, 0);
  grid->addWidget(campos_[8], fila, 1, 1, 3);
  grid->addWidget(etiqueta(9), fila, 4);
  grid->addWidget(campos_[9], fila, 5, 1, 3);
  ++fila;
  grid->addWidget(etiqueta(11), fila, 0);
  grid->addWidget(campos_[11], fila, 1, 1, 7);
  ++fila;
  grid->addWidget(etiqueta(12), fila, 0, Qt::AlignRight | Qt::AlignTop);
  grid->addWidget(campos_[12], fila, 1, 1, 7);
  ++fila;

  auto* honorarios = new QHBoxLayout;
  opciones_[0] = new QRadioButton(QStringLiteral("Pedir Honorarios"), frame);
  opciones_[1] = new QRadioButton(QStringLiteral("Pedir Sueldo Bruto"), frame);
  for (int i = 0; i < 2; ++i) {
    opciones_[i]->setObjectName(QStringLiteral("OptHonorarios_%1").arg(i));
    honorarios->addWidget(opciones_[i]);
  }
  opciones_[1]->setChecked(true);
  honorarios->addStretch();
  grid->addLayout(honorarios, fila, 1, 1, 5);
  ++fila;

  // The logo with its toolbar.
  auto* logo = new QHBoxLayout;
  auto* lblLogo = new QLabel(QStringLiteral("Logo:"), frame);
  lblLogo->setAlignment(Qt::AlignRight | Qt::AlignTop);
  picture_ = new QLabel(frame);
  picture_->setObjectName(QStringLiteral("Picture1"));
  picture_->setFrameShape(QFrame::StyledPanel);
  picture_->setFrameShadow(QFrame::Sunken);
  picture_->setFixedSize(200, 120);
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setAccessibleName(QStringLiteral("Logo de la empresa"));
  toolbar_ = new QToolBar(frame);
  toolbar_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar_->setOrientation(Qt::Vertical);
  toolbar_->setIconSize(QSize(16, 16));
  toolbar_->setAccessibleName(QStringLiteral("Logo"));
  for (const BotonLogo& b : kBotonesLogo) {
    const QString k = QString::fromLatin1(b.clave);
    QAction* a = toolbar_->addAction(style()->standardIcon(b.icono), k);
    a->setObjectName(k);
    a->setToolTip(QStringLiteral("%1 (%2)").arg(k, QString::fromUtf8(b.nombreTecla)));
    connect(a, &QAction::triggered, this, [this, k] { logica_->Toolbar1_ButtonClick(k); });
  }
  for (auto* extension : toolbar_->findChildren<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
    extension->setAccessibleName(QStringLiteral("Más botones del logo"));
  logo->addWidget(picture_);
  logo->addWidget(toolbar_);
  logo->addStretch();
  grid->addWidget(lblLogo, fila, 0, Qt::AlignRight | Qt::AlignTop);
  grid->addLayout(logo, fila, 1, 1, 7);
  ++fila;
  grid->setRowStretch(fila, 1);
  ++fila;

  navBar_ = new NavBar(frame);
  navBar_->setObjectName(QStringLiteral("NavBar1"));
  grid->addWidget(navBar_, fila, 0, 1, 8);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  grid->setColumnStretch(5, 1);
  grid->setColumnStretch(7, 1);

  auto* pagina = new QWidget(this);
  auto* capa = new QVBoxLayout(pagina);
  capa->addWidget(frame);
  return pagina;
}

QWidget* frmMA_Empresas::ArmarUsuarios() {
  auto* pagina = new QWidget(this);
  auto* capa = new QVBoxLayout(pagina);
  auto* frame = new QGroupBox(pagina);
  frame->setObjectName(QStringLiteral("Frame2"));
  auto* interior = new QVBoxLayout(frame);
  arbol_ = new QTreeWidget(frame);
  arbol_->setObjectName(QStringLiteral("TreeView1"));
  arbol_->setHeaderHidden(true);
  arbol_->setAccessibleName(QStringLiteral("Usuarios de la empresa"));
  interior->addWidget(arbol_);
  capa->addWidget(frame);
  return pagina;
}

QWidget* frmMA_Empresas::ArmarPersonalizados() {
  auto* pagina = new QWidget(this);
  auto* capa = new QVBoxLayout(pagina);
  auto* frame = new QGroupBox(pagina);
  frame->setObjectName(QStringLiteral("FrmCamposPersonalizados"));
  auto* interior = new QVBoxLayout(frame);
  grilla_ = new GrillaFlex(frame);
  grilla_->setObjectName(QStringLiteral("MSFlexPers"));
  grilla_->setAccessibleName(QStringLiteral("Campos personalizados"));
  grilla_->setAccessibleDescription(QStringLiteral("Enter o un carácter: editar el valor; al editar, Enter confirma y Escape descarta"));
  editor_ = new EditorFlex(grilla_);
  editor_->setObjectName(QStringLiteral("TxtEdit"));
  editor_->setAccessibleName(QStringLiteral("Valor del campo personalizado"));
  interior->addWidget(grilla_);
  capa->addWidget(frame);
  return pagina;
}

bool frmMA_Empresas::Cargar() { return logica_->Form_Load(); }

// ---------------------------------------------------------------- events

int frmMA_Empresas::IndiceDe(QObject* objeto) const {
  for (int i = 0; i < kCamposEmpresa; ++i)
    if (campos_[i] == objeto) return i;
  return -1;
}

bool frmMA_Empresas::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::KeyPress) {
    // The form sees every key first, once, as it reaches the focused control.
    auto* w = qobject_cast<QWidget*>(objeto);
    QWidget* foco = QApplication::focusWidget();
    if (w && w->window() == this && (w == foco || (!foco && w == this))) {
      auto* k = static_cast<QKeyEvent*>(evento);
      const int codigo = Controles::CodigoTecla(k);
      const bool delEditor = w == editor_ && editor_->isVisible() && EditorFlex::UsaTecla(codigo);
      if (codigo != 0 && !delEditor && logica_->Form_KeyDown(codigo, Controles::EstadoShift(k))) return true;
    }
  }
  const int indice = IndiceDe(objeto);
  if (indice >= 0) return EventoDeCampo(indice, evento);
  return QWidget::eventFilter(objeto, evento);
}

bool frmMA_Empresas::EventoDeCampo(int indice, QEvent* evento) {
  switch (evento->type()) {
    case QEvent::FocusIn:
      logica_->txtFields_GotFocus(indice);
      return false;
    case QEvent::MouseButtonPress: {
      auto* m = static_cast<QMouseEvent*>(evento);
      if (m->button() != Qt::RightButton) return false;
      int shift = 0;
      if (m->modifiers() & Qt::ShiftModifier) shift |= tecla::Mayusculas;
      if (m->modifiers() & Qt::ControlModifier) shift |= tecla::Control;
      logica_->txtFields_MouseDown(indice, tecla::BotonDerecho, shift);
      return true;
    }
    case QEvent::KeyPress: {
      auto* k = static_cast<QKeyEvent*>(evento);
      const int codigo = Controles::CodigoTecla(k);
      logica_->txtFields_KeyDown(indice, codigo, Controles::EstadoShift(k));
      if (EsTeclaAvance(codigo)) return true;
      int caracter = Controles::CaracterTecla(k);
      if (caracter < 32) return false;
      const int tecleado = caracter;
      logica_->txtFields_KeyPress(indice, caracter);
      if (caracter == 0) return true;
      if (caracter != tecleado) {
        if (auto* l = qobject_cast<QLineEdit*>(campos_[indice])) l->insert(QString(QChar(caracter)));
        if (auto* p = qobject_cast<QPlainTextEdit*>(campos_[indice]))
          p->insertPlainText(QString(QChar(caracter)));
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

void frmMA_Empresas::closeEvent(QCloseEvent* e) {
  if (!descargando_) {
    descargando_ = true;
    logica_->Form_Unload();
  }
  e->accept();
}

void frmMA_Empresas::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (editor_ && editor_->isVisible() && grilla_->currentRow() >= 0)
    editor_->ColocarSobre(grilla_->currentRow(), grilla_->currentColumn());
}

void frmMA_Empresas::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (mostrado_ || e->spontaneous()) return;
  mostrado_ = true;
  // Left alone, the window manager's activation gives the focus to the tab bar and the
  // operator's first keys go nowhere; the form opens as after a save, ready for a code.
  FocoCampo(0);
  SeleccionarCampo(0, 0, static_cast<int>(Texto(0).trimmed().size()));
}

// ---------------------------------------------------------------- VistaEmpresas

QString frmMA_Empresas::Texto(int indice) const { return Controles::Texto(campos_[indice]); }

void frmMA_Empresas::PonerTexto(int indice, const QString& texto) {
  Controles::PonerTexto(campos_[indice], texto);
}

void frmMA_Empresas::HabilitarCampo(int indice, bool habilitado) { campos_[indice]->setEnabled(habilitado); }

bool frmMA_Empresas::CampoVisible(int indice) const { return !campos_[indice]->isHidden(); }

void frmMA_Empresas::FocoCampo(int indice) {
  // The field's tab must be showing for it to take the focus.
  pestanas_->setCurrentIndex(static_cast<int>(Pestana::DatosGenerales));
  campos_[indice]->setFocus(Qt::OtherFocusReason);
}

void frmMA_Empresas::SeleccionarCampo(int indice, int inicio, int largo) {
  Controles::Seleccionar(campos_[indice], inicio, largo);
}

void frmMA_Empresas::LimitarLargo(int indice, int caracteres) { largo::Limitar(campos_[indice], caracteres); }

void frmMA_Empresas::PonerDescripcionProvincia(const QString& texto) { lblProvincia_->setText(texto); }

void frmMA_Empresas::PonerEstadoTablas(const QString& texto, bool corta) {
  lblEstadoTablas_->setText(texto);
  lblEstadoTablas_->setToolTip(
      texto.isEmpty()
          ? QString()
          : QStringLiteral("Ctrl+T: agrega las filas de las plantillas que le faltan a esta empresa"));
  QPalette colores = palette();
  if (corta) colores.setColor(QPalette::WindowText, QColor(kColorAvisoTablas));
  lblEstadoTablas_->setPalette(colores);
}

void frmMA_Empresas::PonerPadron(const QString& texto, const QString& motivo) {
  // Each move sets it: only what changed is touched.
  if (lblPadron_->text() != texto) lblPadron_->setText(texto);
  if (lblPadron_->toolTip() != motivo) lblPadron_->setToolTip(motivo);
  const QString descripcion = QStringLiteral("Padrón de AFIP");
  const QString describe = motivo.isEmpty() ? descripcion : descripcion + QStringLiteral(": ") + motivo;
  if (lblPadron_->accessibleDescription() != describe) lblPadron_->setAccessibleDescription(describe);
  const QColor color = motivo.isEmpty() ? palette().color(QPalette::WindowText) : QColor(kColorAvisoTablas);
  if (lblPadron_->palette().color(QPalette::WindowText) == color) return;
  QPalette colores = palette();
  colores.setColor(QPalette::WindowText, color);
  lblPadron_->setPalette(colores);
}

bool frmMA_Empresas::PideHonorarios() const { return opciones_[0]->isChecked(); }

void frmMA_Empresas::PonerPideHonorarios(bool honorarios) {
  opciones_[0]->setChecked(honorarios);
  opciones_[1]->setChecked(!honorarios);
}

void frmMA_Empresas::HabilitarAccion(const QString& clave, bool habilitado) {
  actBar_->SetHabilitado(clave, habilitado);
}

bool frmMA_Empresas::AccionHabilitada(const QString& clave) const { return actBar_->Habilitado(clave); }

void frmMA_Empresas::MostrarNavegacion(bool visible) {
  navBar_->setEnabled(visible);
  navBar_->setVisible(visible);
}

bool frmMA_Empresas::NavegacionVisible() const { return !navBar_->isHidden() && navBar_->isEnabled(); }

void frmMA_Empresas::HabilitarPestana(int pestana, bool usable) { pestanas_->setTabEnabled(pestana, usable); }

void frmMA_Empresas::SeleccionarPestana(int pestana) { pestanas_->setCurrentIndex(pestana); }

bool frmMA_Empresas::TeclaBarras(int codigoTecla, int shift) {
  return actBar_->TeclaAbajo(codigoTecla, shift) || navBar_->TeclaAbajo(codigoTecla, shift) ||
         TeclaLogo(codigoTecla, shift);
}

bool frmMA_Empresas::TeclaLogo(int codigoTecla, int shift) {
  // The logo's keys act where the logo is on screen.
  if (pestanas_->currentIndex() != static_cast<int>(Pestana::DatosGenerales) || !toolbar_->isEnabled())
    return false;
  const int mods = shift & (tecla::Mayusculas | tecla::Control | tecla::Alt);
  for (const BotonLogo& b : kBotonesLogo) {
    if (b.codigoTecla != codigoTecla || b.shift != mods) continue;
    logica_->Toolbar1_ButtonClick(QString::fromLatin1(b.clave));
    return true;
  }
  return false;
}

void frmMA_Empresas::LimpiarFormulario() { Controles::Compartido().LimpiarFormulario(this); }

void frmMA_Empresas::PrepararCampos(const QString& tabla, const QString& conexion) {
  Controles::Compartido().PrepararCampos(QVector<QWidget*>(campos_.begin(), campos_.end()), tabla, conexion);
}

bool frmMA_Empresas::EsTeclaAvance(int codigoTecla) const {
  return Controles::Compartido().EsTeclaAvance(codigoTecla);
}

void frmMA_Empresas::AvanzarFoco(int codigoTecla) {
  // Just after a lookup dialog closes, the window manager has not given this window back
  // its activation, so the application has no focused widget; the form still knows its own.
  if (!QApplication::focusWidget() && focusWidget() && EsTeclaAvance(codigoTecla)) {
    focusNextChild();
    return;
  }
  Controles::Compartido().AvanzarFoco(codigoTecla);
}

void frmMA_Empresas::FiltrarTecla(int indice, int& keyAscii) {
  Controles::Compartido().FiltrarTecla(campos_[indice], keyAscii);
}

QString frmMA_Empresas::SeparadorDecimal() const { return Controles::Compartido().SeparadorDecimal(); }

int frmMA_Empresas::IndiceCampo(const QString& columna) const {
  return Controles::Compartido().IndiceCampo(columna, QVector<QWidget*>(campos_.begin(), campos_.end()));
}

void frmMA_Empresas::ConfigurarFormulario() { ::ConfigurarFormulario(this); }

void frmMA_Empresas::PrepararFormulario() { Utilidades::Compartido().PrepararFormulario(this); }

void frmMA_Empresas::MostrarLogo(const Imagen& imagen) {
  logo_ = imagen;
  if (logo_.EsNula()) {
    picture_->clear();
    return;
  }
  picture_->setPixmap(QPixmap::fromImage(
      logo_.Dibujo().scaled(picture_->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void frmMA_Empresas::LimpiarLogo() {
  MostrarLogo(Imagen());
  picture_->setToolTip(QString());
}

bool frmMA_Empresas::TieneLogo() const { return !logo_.EsNula(); }

void frmMA_Empresas::MostrarLogoDeCampo(const ado::Field& campo) {
  MostrarLogo(conversor_.CampoAImagen(campo));
}

void frmMA_Empresas::GuardarLogoEnCampo(ado::Field& campo) { conversor_.ImagenACampo(campo, logo_); }

QByteArray frmMA_Empresas::DatosLogo() const { return logo_.Datos(); }

QByteArray frmMA_Empresas::DatosLogoDe(const QVariant& guardado) const {
  if (ado::IsNull(guardado) || ado::IsEmpty(guardado)) return {};
  return Imagen::DesdeBytes(guardado.toByteArray()).Datos();
}

void frmMA_Empresas::PonerAviso(const QString& texto) { lblAviso_->setText(texto); }

void frmMA_Empresas::CargarLogo(const QString& ruta) {
  // A metafile may take its reader's whole time limit to draw.
  const CursorEspera espera;
  MostrarLogo(conversor_.DesdeArchivo(ruta));
}

void frmMA_Empresas::PonerRutaLogo(const QString& ruta) {
  picture_->setToolTip(ruta);
  picture_->update();
}

QString frmMA_Empresas::ElegirArchivo(const QString& filtro, const QString& titulo) {
  DialogoArchivo dialogo;
  dialogo.Filter = filtro;
  dialogo.DialogTitle = titulo;
  dialogo.FilterIndex = 1;
  dialogo.ValidarExistencia = true;
  dialogo.ShowOpen();
  return dialogo.FileName;
}

Grilla& frmMA_Empresas::GrillaPersonalizados() { return *grilla_; }

EditorCelda& frmMA_Empresas::EditorPersonalizados() { return *editor_; }

void frmMA_Empresas::ProcesarEventos() { QCoreApplication::processEvents(); }

void frmMA_Empresas::CursorNormal() { QApplication::restoreOverrideCursor(); }

void frmMA_Empresas::Ocultar() {
  if (descargando_) {
    hide();
    return;
  }
  descargando_ = true;
  close();
}
