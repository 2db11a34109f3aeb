#pragma once
// The company form: the program's main window. Builds the controls, shows
// them to the form logic through VistaEmpresas and forwards their events.
#include <QWidget>
#include <array>
#include <memory>

#include "company/form/FormEmpresas.h"
#include "company/form/VistaEmpresas.h"
#include "platform/widgets/ConversorImagen.h"

class ActBar;
class NavBar;
class QLabel;
class QRadioButton;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class GrillaFlex;
class EditorFlex;

class frmMA_Empresas : public QWidget, public VistaEmpresas {
  Q_OBJECT
 public:
  explicit frmMA_Empresas(QWidget* parent = nullptr);
  ~frmMA_Empresas() override;

  // Runs the load sequence; false when the session could not start.
  bool Cargar();
  FormEmpresas& Logica() { return *logica_; }
  // The status line's text colour when a per-company table is short (RGB).
  static constexpr unsigned kColorAvisoTablas = 0xC00000;

  // Controls, for the program's start-up and for tests.
  QWidget* txtFields(int indice) const { return campos_[indice]; }
  QLabel* LblIdProvincia() const { return lblProvincia_; }
  QLabel* LblEstadoTablas() const { return lblEstadoTablas_; }
  QLabel* LblPadron() const { return lblPadron_; }
  QRadioButton* OptHonorarios(int indice) const { return opciones_[indice]; }
  QTabWidget* SSTab1() const { return pestanas_; }
  ActBar* ActBar1() const { return actBar_; }
  NavBar* NavBar1() const { return navBar_; }
  QToolBar* Toolbar1() const { return toolbar_; }
  QLabel* Picture1() const { return picture_; }
  GrillaFlex* MSFlexPers() const { return grilla_; }
  EditorFlex* TxtEdit() const { return editor_; }
  const Imagen& Logo() const { return logo_; }

  // ---- VistaEmpresas ----
  QString Texto(int indice) const override;
  void PonerTexto(int indice, const QString& texto) override;
  void HabilitarCampo(int indice, bool habilitado) override;
  bool CampoVisible(int indice) const override;
  void FocoCampo(int indice) override;
  void SeleccionarCampo(int indice, int inicio, int largo) override;
  void LimitarLargo(int indice, int caracteres) override;
  void PonerDescripcionProvincia(const QString& texto) override;
  void PonerEstadoTablas(const QString& texto, bool corta) override;
  void PonerPadron(const QString& texto, const QString& motivo) override;
  bool PideHonorarios() const override;
  void PonerPideHonorarios(bool honorarios) override;
  void HabilitarAccion(const QString& clave, bool habilitado) override;
  bool AccionHabilitada(const QString& clave) const override;
  void MostrarNavegacion(bool visible) override;
  bool NavegacionVisible() const override;
  void HabilitarPestana(int pestana, bool usable) override;
  void SeleccionarPestana(int pestana) override;
  bool TeclaBarras(int codigoTecla, int shift) override;
  void LimpiarFormulario() override;
  void PrepararCampos(const QString& tabla, const QString& conexion) override;
  bool EsTeclaAvance(int codigoTecla) const override;
  void AvanzarFoco(int codigoTecla) override;
  void FiltrarTecla(int indice, int& keyAscii) override;
  QString SeparadorDecimal() const override;
  int IndiceCampo(const QString& columna) const override;
  void ConfigurarFormulario() override;
  void PrepararFormulario() override;
  void LimpiarLogo() override;
  bool TieneLogo() const override;
  void MostrarLogoDeCampo(const ado::Field& campo) override;
  void GuardarLogoEnCampo(ado::Field& campo) override;
  QByteArray DatosLogo() const override;
  QByteArray DatosLogoDe(const QVariant& guardado) const override;
  void PonerAviso(const QString& texto) override;
  QLabel* LblAviso() const { return lblAviso_; }
  void CargarLogo(const QString& ruta) override;
  void PonerRutaLogo(const QString& ruta) override;
  QString ElegirArchivo(const QString& filtro, const QString& titulo) override;
  Grilla& GrillaPersonalizados() override;
  EditorCelda& EditorPersonalizados() override;
  void ProcesarEventos() override;
  void CursorNormal() override;
  void Ocultar() override;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  QWidget* ArmarDatosGenerales();
  QWidget* ArmarUsuarios();
  QWidget* ArmarPersonalizados();
  void MostrarLogo(const Imagen& imagen);
  bool EventoDeCampo(int indice, QEvent* evento);
  bool TeclaLogo(int codigoTecla, int shift);
  int IndiceDe(QObject* objeto) const;

  std::array<QWidget*, kCamposEmpresa> campos_{};
  QLabel* lblProvincia_ = nullptr;
  QLabel* lblEstadoTablas_ = nullptr;
  QLabel* lblPadron_ = nullptr;
  QLabel* lblAviso_ = nullptr;
  std::array<QRadioButton*, 2> opciones_{};
  QTabWidget* pestanas_ = nullptr;
  ActBar* actBar_ = nullptr;
  NavBar* navBar_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QLabel* picture_ = nullptr;
  QTreeWidget* arbol_ = nullptr;
  GrillaFlex* grilla_ = nullptr;
  EditorFlex* editor_ = nullptr;
  Imagen logo_;
  ConversorImagen conversor_;
  std::unique_ptr<FormEmpresas> logica_;
  bool descargando_ = false;
  bool mostrado_ = false;
};
