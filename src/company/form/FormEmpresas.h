#pragma once
// The company form's logic: start-up, the browse / edit states, record
// display, field validation, lookups, navigation, the action bar, saving and
// deleting, the custom-fields grid and the logo. Event handlers never let a
// failure escape: what no trap of theirs took reaches MostrarError with the
// handler's name.
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "company/form/Personalizados.h"
#include "company/form/VistaEmpresas.h"
#include "company/rules/CamposEmpresa.h"
#include "company/rules/FusionCambios.h"
#include "company/rules/HistoriaEmpresa.h"
#include "company/rules/RecorridoEmpresas.h"
#include "platform/client/Recordset.h"
#include "platform/services/Trampa.h"

class FormEmpresas {
 public:
  explicit FormEmpresas(VistaEmpresas& vista);
  ~FormEmpresas();

  // ---- window events ----
  // False when the session could not start (the program ends).
  bool Form_Load();
  void Form_Unload();
  // True when one of the bars took the key as its shortcut.
  bool Form_KeyDown(int KeyCode, int Shift);

  // ---- control events ----
  void txtFields_GotFocus(int Index);
  void txtFields_KeyDown(int Index, int KeyCode, int Shift);
  void txtFields_KeyPress(int Index, int& KeyAscii);
  void txtFields_MouseDown(int Index, int Button, int Shift);
  void NavBar1_Click(const QString& clave);
  void ActBar1_Click(const QString& clave);
  void Toolbar1_ButtonClick(const QString& clave);
  void MSFlexPers_LeaveCell();
  void MSFlexPers_GotFocus();
  void MSFlexPers_DblClick();
  void MSFlexPers_KeyPress(int KeyAscii);
  void TxtEdit_KeyDown(int KeyCode, int Shift);
  void TxtEdit_KeyPress(int& KeyAscii);

  // ---- routines ----
  void CampoValida(int Index);
  bool Datosvalidos();
  void AbrirRecordset(const QString& TablaActiva);
  void Inicializa();
  void DetalleOn(bool on);
  void InicializaDetalle();
  // False when a failure left the company half-shown: the form was cleared.
  bool AsignarDatos();
  void GrabarRegistro();
  void ConsultarCampo();
  void AsignarFoto(const QString& Imagen);
  // The company in the code field: its change history, newest first (Ctrl+H).
  void MostrarHistoria();
  // Reporte: the stored company on screen in a print preview (Ctrl+R).
  void MostrarReporte();
  // Every company in a sheet (Ctrl+P, while browsing); the one chosen there is shown.
  void MostrarPlanilla();

  // ---- state ----
  ado::Recordset& rsEmpresas() { return Empresas(); }
  QString NombreTabla;
  bool EsNuevo = false;
  bool EsBaja = false;
  bool EsModificacion = false;
  bool Grabando = false;
  bool HayError = false;
  int CampoActual = 0;
  // Edit state (all fields usable) or browse state.
  bool EnEdicion() const { return enEdicion_; }
  Personalizados& CamposPersonalizados() { return personalizados_; }

  // Texts shown to the operator.
  static const QString kAvisoImagenGrande;
  static const QString kFiltroImagenes;

 private:
  void Proteger(const QString& evento, const std::function<void()>& cuerpo);
  void FocoCodigoSeleccionado();
  // The description beside the province code; false when the check itself
  // failed (the operator was told why).
  bool MostrarProvincia(const QString& codigo);
  // Nothing of any company on screen (the code field keeps its text).
  void LimpiarPantalla();
  // Each text field takes at most its column's length.
  void LimitarLargos();
  void RecordarMostrado();
  // The text field of `columna` as the company was shown; none when none was,
  // or when the code field now names another company.
  std::optional<QString> MostradoEn(const QString& columna);
  // The status line on the per-company rows of the company on screen.
  void MostrarEstadoTablas();
  // The line beside the CUIT: what AFIP's register says of the CUIT on screen.
  void MostrarPadron();
  // Ctrl+T: lists the template rows the company lacks and adds them after a Sí.
  void CompletarTablas();
  // A company shown as existing that is gone by the time it is saved.
  bool BorradaDesdeQueSeMostro() const;
  // The text fields into the row; with `columnas`, only those.
  void PasoGrabarCampos(const QStringList* columnas = nullptr);

  // ---- two operators, one company ----
  enum class Ajeno { Ninguno, Choque, Eliminada };
  // What the merge compares, measured from the company as shown (or from an
  // empty screen for a company shown as new).
  std::vector<CampoComparado> CamposComparados(bool desdeVacia);
  // The current row of the main recordset as the screen would show it.
  std::vector<ado::Value> ComoSeMostraria(const std::vector<CampoComparado>& campos);
  // The main recordset on the company of this code alone, by the key it is
  // stored under; false when it is not stored.
  bool ReleerEmpresa(const QString& codigo);
  // The dialog about a company deleted meanwhile, or about the clashes (which
  // it then settles); false when the operator cancelled.
  bool PreguntarEliminada();
  bool PreguntarChoques(FusionCambios& fusion, const std::vector<int>& choques, bool codigoTomado);
  // Before a deletion: the company read again, and the captions of the fields another
  // operator changed since it was shown. Nothing is read when nothing was shown.
  enum class AntesDeBorrar { Igual, Cambiada, Eliminada };
  AntesDeBorrar CambiadosPorOtro(const QString& codigo, QStringList& titulos);
  // After a save that kept another operator's changes: the company as stored, and why.
  void MostrarFusionada();
  // The line under the tabs, about company `codigo`; it goes when another company is shown.
  void PonerAviso(const QString& codigo, const QString& texto);
  void MostrandoEmpresa(const QString& codigo);
  // The deletion and its history row, as one unit.
  void BorrarConHistoria(const trampa::ManejadorDeUnidad& manejador);
  // Reporte is usable while a stored company is shown.
  void HabilitarReporte();
  // The main recordset, on the company the navigation reached when it moves
  // over the codes.
  ado::Recordset& Empresas();
  // A move of the navigation bar: over the codes, or over the main recordset
  // itself once the code check re-opened it on one company.
  void Mover(Movimiento m);

  VistaEmpresas& vista_;
  std::unique_ptr<ado::Recordset> rsEmpresas_;
  std::unique_ptr<ado::Recordset> rsProvincia_;
  Personalizados personalizados_;
  RecorridoEmpresas recorrido_;
  HistoriaEmpresa historia_;
  bool enEdicion_ = false;
  bool usuariosApagada_ = false;  // switched off at load, never usable
  bool largosFijados_ = false;
  int largoCuit_ = 0;  // the CUIT column's characters; 0 when unknown or unlimited
  // Load leaves the navigation over the codes until it is needed: most
  // sessions start by typing a code, which re-opens the recordset on that one
  // company anyway.
  bool tablaPendiente_ = false;
  QString mensaje_;
  QString ultimaColumna_;
  // The company as it was shown, to notice a change made meanwhile through
  // another connection before overwriting it.
  QString codigoMostrado_;
  QVector<ado::Value> valoresMostrados_;
  // The key of the company last found or shown, as stored: rows written by
  // hand or by older programs may hold a code without its blanks ('7').
  std::optional<QString> claveGuardada_;
  // The code shown as a new company: stored meanwhile by somebody else, it
  // must not be overwritten as if it were this screen's.
  std::optional<QString> codigoNuevo_;
  // The company and the line for the operator after a save that merged.
  QString codigoFusionado_, avisoFusion_;
  // The company the line under the tabs speaks of.
  QString codigoAviso_;
};
