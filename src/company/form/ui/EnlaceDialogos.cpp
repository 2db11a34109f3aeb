#include "company/form/ui/EnlaceDialogos.h"

#include "company/form/ui/DlgCambiosDeOtroUsuario.h"
#include "company/form/ui/frmHistoriaEmpresa.h"
#include "company/form/ui/frmReporteEmpresa.h"
#include "company/form/ui/frmPlanillaEmpresas.h"
#include "lookup/ui/DialogosConsulta.h"
#include "platform/widgets/VisorPlanilla.h"
#include "session/ui/frmAcceso.h"

void EnlazarDialogos() {
  RegistrarFrmAcceso();
  RegistrarDialogosConsulta();
  RegistrarVisorPlanilla();
  RegistrarDlgCambiosDeOtroUsuario();
  RegistrarFrmHistoriaEmpresa();
  RegistrarFrmReporteEmpresa();
  RegistrarFrmPlanillaEmpresas();
}
