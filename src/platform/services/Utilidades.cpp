#include "platform/services/Utilidades.h"

Utilidades& Utilidades::Compartido() {
  static Utilidades u;
  return u;
}
