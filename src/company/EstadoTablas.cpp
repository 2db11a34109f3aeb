// The status line under the tabs: how complete the per-company rows of the
// company on screen are.
#include "company/CompletitudEmpresa.h"
#include "company/FormEmpresas.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

void FormEmpresas::MostrarEstadoTablas() {
  vista_.PonerEstadoTablas(QString(), false);
  const QString codigo = vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed();
  // The company with the empty code is the suite's own and has no such rows.
  if (codigo.isEmpty()) return;
  // Only a hint: a failed count leaves the line empty rather than the company unshown.
  trampa::IgnorarErrores({[&] {
    const Completitud c = CompletitudDe(Utilidades::Compartido().AlinearDerecha(codigo, 15));
    vista_.PonerEstadoTablas(c.Texto(), !c.Completa());
  }});
}
