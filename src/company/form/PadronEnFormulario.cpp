// The line beside the CUIT: the name and VAT status AFIP's register holds for
// the CUIT on screen, and a warning when the CUIT is not there or belongs to
// another name. Without a register in the database the line stays empty.
#include "company/form/FormEmpresas.h"
#include "company/rules/ConsultaPadron.h"
#include "company/rules/Cuit.h"
#include "company/rules/LineaPadron.h"
#include "platform/services/Trampa.h"

namespace {

int Indice(const char* columna) {
  for (int i = 0; i < kCamposEmpresa; ++i)
    if (qstricmp(kTablaCampos[i].columna, columna) == 0) return i;
  return -1;
}

}  // namespace

void FormEmpresas::MostrarPadron() {
  LineaPadron l;
  // Learnt once per connection: a move costs nothing more without a register.
  const std::optional<QDate> fecha = ConsultaPadron::Fecha();
  // A CUIT that is no CUIT was already explained by its own check.
  const Cuit::Analisis cuit = fecha ? Cuit::Analizar(vista_.Texto(Indice("CUIT"))) : Cuit::Analisis{};
  if (cuit.problema == Cuit::Problema::Ninguno) {
    const QString nombre = vista_.Texto(Indice("NombreEmpresa"));
    // Only a hint: a failed look-up leaves the line empty rather than the company unshown.
    trampa::IgnorarErrores({[&] {
      l = ArmarLineaPadron(ConsultaPadron::Buscar(cuit.digitos), *fecha, Cuit::Formatear(cuit.digitos),
                           nombre);
    }});
  }
  vista_.PonerPadron(l.texto, l.motivo);
}
