#pragma once
// What the company form's logic needs of its window. The Qt form implements
// it; fields are addressed by their index in the field table.
#include <QByteArray>
#include <QString>
#include <QVariant>

#include "company/form/Grilla.h"

namespace ado {
class Field;
}

class VistaEmpresas {
 public:
  virtual ~VistaEmpresas() = default;

  // Text fields.
  virtual QString Texto(int indice) const = 0;
  virtual void PonerTexto(int indice, const QString& texto) = 0;
  virtual void HabilitarCampo(int indice, bool habilitado) = 0;
  virtual bool CampoVisible(int indice) const = 0;
  virtual void FocoCampo(int indice) = 0;
  virtual void SeleccionarCampo(int indice, int inicio, int largo) = 0;
  // The most characters the field accepts.
  virtual void LimitarLargo(int indice, int caracteres) = 0;
  virtual void PonerDescripcionProvincia(const QString& texto) = 0;
  // The line under the tabs on the company's per-company rows; `corta` when
  // a table is short of its templates.
  virtual void PonerEstadoTablas(const QString& texto, bool corta) {}
  // The line beside the CUIT on what AFIP's register says of it; `motivo`, when
  // not empty, makes it a warning and says why. "" clears it.
  virtual void PonerPadron(const QString& texto, const QString& motivo) {}
  // The option pair: true "Pedir Honorarios", false "Pedir Sueldo Bruto".
  virtual bool PideHonorarios() const = 0;
  virtual void PonerPideHonorarios(bool honorarios) = 0;

  // Bars and tabs.
  virtual void HabilitarAccion(const QString& clave, bool habilitado) = 0;
  virtual bool AccionHabilitada(const QString& clave) const = 0;
  virtual void MostrarNavegacion(bool visible) = 0;
  virtual bool NavegacionVisible() const = 0;
  virtual void HabilitarPestana(int pestana, bool usable) = 0;
  virtual void SeleccionarPestana(int pestana) = 0;
  // The bars' keyboard operation; true when a bar took the key.
  virtual bool TeclaBarras(int codigoTecla, int shift) = 0;

  // Entry-control services.
  virtual void LimpiarFormulario() = 0;
  virtual void PrepararCampos(const QString& tabla, const QString& conexion) = 0;
  virtual bool EsTeclaAvance(int codigoTecla) const = 0;
  virtual void AvanzarFoco(int codigoTecla) = 0;
  virtual void FiltrarTecla(int indice, int& keyAscii) = 0;
  virtual QString SeparadorDecimal() const = 0;
  virtual int IndiceCampo(const QString& columna) const = 0;

  // Start-up: suite look, then the services' form preparation.
  virtual void ConfigurarFormulario() = 0;
  virtual void PrepararFormulario() = 0;

  // Logo.
  virtual void LimpiarLogo() = 0;
  virtual bool TieneLogo() const = 0;
  virtual void MostrarLogoDeCampo(const ado::Field& campo) = 0;
  virtual void GuardarLogoEnCampo(ado::Field& campo) = 0;
  // The bytes the shown picture stores ("" for none), and those showing the
  // stored value `guardado` and saving it back would store.
  virtual QByteArray DatosLogo() const = 0;
  virtual QByteArray DatosLogoDe(const QVariant& guardado) const = 0;
  // Throws ado::Failure when the file is missing or is not a picture.
  virtual void CargarLogo(const QString& ruta) = 0;
  virtual void PonerRutaLogo(const QString& ruta) = 0;
  // The file-open dialog; "" when cancelled.
  virtual QString ElegirArchivo(const QString& filtro, const QString& titulo) = 0;

  // Custom-fields grid.
  virtual Grilla& GrillaPersonalizados() = 0;
  virtual EditorCelda& EditorPersonalizados() = 0;

  // One line for the operator under the tabs, not a box; "" clears it.
  virtual void PonerAviso(const QString& texto) = 0;

  // Window.
  virtual void ProcesarEventos() = 0;
  virtual void CursorNormal() = 0;
  virtual void Ocultar() = 0;
};
