#include "company/ui/DialogosDelPrograma.h"

#include "lookup/ui/DialogosConsulta.h"
#include "platform/widgets/VisorPlanilla.h"
#include "session/ui/frmAcceso.h"

void RegistrarDialogosDelPrograma() {
  RegistrarFrmAcceso();
  RegistrarDialogosConsulta();
  RegistrarVisorPlanilla();
}
