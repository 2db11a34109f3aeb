#include "lookup/ui/DialogosConsulta.h"

#include "lookup/ui/Lib_FrmCons3.h"
#include "lookup/ui/Lib_FrmCons3Tree.h"
#include "platform/services/DialogosPorNombre.h"

void RegistrarDialogosConsulta() {
  RegistrarDialogo(QString::fromLatin1(SolicitudLista::NombreDialogo), [](DialogoModal& d) {
    auto* s = dynamic_cast<SolicitudLista*>(&d);
    if (!s) return;
    Lib_FrmCons3 f(*s);
    f.Cargar();
    if (!f.Logica().Oculto()) f.exec();
    f.Descargar();
  });
  RegistrarDialogo(QString::fromLatin1(SolicitudArbol::NombreDialogo), [](DialogoModal& d) {
    auto* s = dynamic_cast<SolicitudArbol*>(&d);
    if (!s) return;
    Lib_FrmCons3Tree f(*s);
    f.Cargar();
    if (!f.Logica().Oculto()) f.exec();
    f.Descargar();
  });
}
