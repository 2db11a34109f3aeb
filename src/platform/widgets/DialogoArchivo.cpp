#include "platform/widgets/DialogoArchivo.h"

#include <QFileInfo>

#include "platform/services/Operador.h"

void DialogoArchivo::ShowOpen() {
  QString elegido = ElOperador().AbrirArchivo(DialogTitle, Filter, InitDir);
  if (ValidarExistencia && !elegido.isEmpty() && !QFileInfo::exists(elegido)) elegido.clear();
  FileName = elegido;
}
