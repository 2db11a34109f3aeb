// The line beside the CUIT: the name and VAT status AFIP's register holds for
// the CUIT on screen, and a warning when the CUIT is not there or belongs to
// another name. Without a register in the database the line stays empty.
#include "company/form/FormEmpresas.h"
#include "company/rules/ConsultaPadron.h"
#include "company/rules/Cuit.h"
#include "company/rules/LineaPadron.h"
#include "platform/services/Trampa.h"

void FormEmpresas::MostrarPadron() {
  vista_.PonerPadron(QString(), QString());
  // Learnt once per connection: a move costs nothing more without a register.
  const std::optional<QDate> fecha = ConsultaPadron::Fecha();
  if (!fecha) return;
  // A CUIT that is no CUIT was already explained by its own check.
  const Cuit::Analisis cuit = Cuit::Analizar(vista_.Texto(vista_.IndiceCampo(QStringLiteral("CUIT"))));
  if (cuit.problema != Cuit::Problema::Ninguno) return;
  const QString nombre = vista_.Texto(vista_.IndiceCampo(QStringLiteral("NombreEmpresa")));
  // Only a hint: a failed look-up leaves the line empty rather than the company unshown.
  trampa::IgnorarErrores({[&] {
    const LineaPadron l =
        ArmarLineaPadron(ConsultaPadron::Buscar(cuit.digitos), *fecha, Cuit::Formatear(cuit.digitos), nombre);
    vista_.PonerPadron(l.texto, l.motivo);
  }});
}
