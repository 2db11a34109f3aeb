#include "platform/services/Trampa.h"

#include <exception>

namespace trampa {
namespace {

Recuperacion& LaRecuperacion() {
  static Recuperacion r;
  return r;
}

bool Recuperar(const ado::ErrorInfo& e) {
  if (e.Kind != ado::FailureKind::ConnectionLost || !LaRecuperacion()) return false;
  try {
    return LaRecuperacion()(e);
  } catch (...) {
    return false;  // the handler still hears of the failure
  }
}

}  // namespace

void EstablecerRecuperacion(Recuperacion recuperacion) { LaRecuperacion() = std::move(recuperacion); }

ado::ErrorInfo ErrorDe(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const ado::Failure& f) {
    return f.Info();
  } catch (const std::exception& x) {
    // 51: internal error, so that the number is never the "no error" 0.
    return ado::ErrorInfo{51, QString::fromUtf8(x.what()), QStringLiteral("MA_Empresas")};
  } catch (...) {
    return ado::ErrorInfo{51, QStringLiteral("Error interno"), QStringLiteral("MA_Empresas")};
  }
}

Resultado Ejecutar(const std::vector<Paso>& pasos, const Manejador& manejador) {
  std::size_t i = 0;
  bool recuperado = false;  // the step already ran again after a lost connection
  while (i < pasos.size()) {
    try {
      pasos[i]();
      ++i;
      recuperado = false;
    } catch (...) {
      const ado::ErrorInfo error = ErrorDe(std::current_exception());
      if (error.Kind == ado::FailureKind::TransactionLost) throw;
      if (!recuperado && Recuperar(error)) {
        recuperado = true;
        continue;
      }
      recuperado = false;
      const int respuesta = manejador(error, i);
      if (respuesta == Reintentar) continue;
      if (respuesta == Siguiente) {
        ++i;
        continue;
      }
      return Resultado::Abandonado;
    }
  }
  return Resultado::Completo;
}

Resultado IgnorarErrores(const std::vector<Paso>& pasos) {
  return Ejecutar(pasos, [](const ado::ErrorInfo&, std::size_t) { return Siguiente; });
}

}  // namespace trampa
