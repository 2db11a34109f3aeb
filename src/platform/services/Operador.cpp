#include "platform/services/Operador.h"

#include <stdexcept>

namespace {
std::shared_ptr<Operador>& Instalado() {
  static std::shared_ptr<Operador> op;
  return op;
}
}  // namespace

Operador& ElOperador() {
  auto& op = Instalado();
  if (!op) throw std::logic_error("no operator interface installed");
  return *op;
}

void EstablecerOperador(std::shared_ptr<Operador> operador) { Instalado() = std::move(operador); }
