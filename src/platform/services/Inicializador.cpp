#include "platform/services/Inicializador.h"

Inicializador& Inicializador::Compartido() {
  static Inicializador i;
  return i;
}

void Inicializador::Inicializar(const QString& carpetaAplicacion) {
  carpeta_ = carpetaAplicacion;
  inicializado_ = true;
}
