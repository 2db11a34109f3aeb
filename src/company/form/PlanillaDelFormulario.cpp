// The company form's side of the sheet of all companies: the one chosen there
// is shown as if its code had been typed and confirmed.
#include "company/form/FormEmpresas.h"
#include "company/form/PlanillaEmpresas.h"
#include "db/DB_Dll.h"
#include "platform/widgets/CodigosTecla.h"

void FormEmpresas::MostrarPlanilla() {
  // Showing another company would drop the one being edited.
  if (enEdicion_) return;
  PlanillaEmpresas planilla(DB_Dll::Instancia().gCnn(), NombreTabla);
  if (!planilla.Abrir()) return;
  DialogoPlanillaEmpresas d;
  d.planilla = &planilla;
  d.titulo = QStringLiteral("Planilla de Empresas");
  ElOperador().MostrarModal(d);
  const QString codigo = planilla.Elegido();
  if (codigo.isEmpty()) return;
  vista_.FocoCampo(0);
  vista_.PonerTexto(0, codigo);
  txtFields_KeyDown(0, tecla::Enter, 0);
}
