#include "company/ui/EnlaceDialogos.h"

#include "company/ui/DlgCambiosDeOtroUsuario.h"
#include "company/ui/frmHistoriaEmpresa.h"
#include "lookup/ui/DialogosConsulta.h"
#include "platform/widgets/VisorPlanilla.h"
#include "session/ui/frmAcceso.h"

void EnlazarDialogos() {
  RegistrarFrmAcceso();
  RegistrarDialogosConsulta();
  RegistrarVisorPlanilla();
  RegistrarDlgCambiosDeOtroUsuario();
  RegistrarFrmHistoriaEmpresa();
}
