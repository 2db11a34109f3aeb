// Reporte (Ctrl+R): the sheet of the stored company on screen, in a print preview.
#include "company/form/FormEmpresas.h"
#include "company/form/HojaEmpresa.h"
#include "db/DB_Dll.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

void FormEmpresas::HabilitarReporte() {
  // Only a company read from the table has a sheet; a new one has nothing stored yet.
  vista_.HabilitarAccion(QStringLiteral("REPORTE"), !valoresMostrados_.isEmpty());
}

void FormEmpresas::MostrarReporte() {
  if (valoresMostrados_.isEmpty()) return;
  // The sheet is the company as stored, read again: what another operator
  // stored meanwhile is printed, what this screen has not saved is not.
  const QString codigo = codigoMostrado_;
  std::optional<HojaEmpresa> hoja;
  bool leida = false;
  trampa::Ejecutar({[&] {
                     hoja = LeerHojaEmpresa(codigo, historia_);
                     leida = true;
                   }},
                   [](const ado::ErrorInfo& e, std::size_t) {
                     return Utilidades::Compartido().MostrarError(e, {}, QStringLiteral("Reporte"));
                   });
  if (!leida) return;
  if (!hoja) {
    ElOperador().MsgBox(QStringLiteral("La empresa %1 ya había sido eliminada.").arg(codigo), vb::Information,
                        QStringLiteral("Aviso al operador..."));
    return;
  }
  DialogoReporte d;
  d.titulo = QStringLiteral("Reporte de la empresa %1").arg(codigo);
  d.hoja = *hoja;
  ElOperador().MostrarModal(d);
}
