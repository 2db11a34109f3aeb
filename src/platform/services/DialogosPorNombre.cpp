#include "platform/services/DialogosPorNombre.h"

#include <QHash>

namespace {
QHash<QString, MostrarDialogo>& Registro() {
  static QHash<QString, MostrarDialogo> r;
  return r;
}
}  // namespace

void RegistrarDialogo(const QString& nombre, MostrarDialogo mostrar) {
  Registro().insert(nombre.toUpper(), std::move(mostrar));
}

const MostrarDialogo* BuscarDialogo(const QString& nombre) {
  auto& r = Registro();
  auto it = r.constFind(nombre.toUpper());
  return it == r.constEnd() ? nullptr : &it.value();
}
