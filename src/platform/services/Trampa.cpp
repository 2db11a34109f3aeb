#include "platform/services/Trampa.h"

#include <exception>

namespace trampa {
namespace {

Recuperacion& LaRecuperacion() {
  static Recuperacion r;
  return r;
}

// Steps of units running now: their traps hand every failure to the unit.
thread_local int pasosDeUnidad = 0;

struct EnPasoDeUnidad {
  EnPasoDeUnidad() { ++pasosDeUnidad; }
  ~EnPasoDeUnidad() { --pasosDeUnidad; }
  EnPasoDeUnidad(const EnPasoDeUnidad&) = delete;
  EnPasoDeUnidad& operator=(const EnPasoDeUnidad&) = delete;
};

bool Recuperar(const ado::ErrorInfo& e) {
  if (e.Kind != ado::FailureKind::ConnectionLost || !LaRecuperacion()) return false;
  try {
    return LaRecuperacion()(e);
  } catch (...) {
    return false;  // the handler still hears of the failure
  }
}

enum class Pregunta { Si, No };

Resultado EjecutarCon(const std::vector<Paso>& pasos, const Manejador& manejador, Pregunta pregunta) {
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
      if (pregunta == Pregunta::Si && pasosDeUnidad > 0) throw;
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
  return EjecutarCon(pasos, manejador, Pregunta::Si);
}

Resultado IgnorarErrores(const std::vector<Paso>& pasos) {
  return EjecutarCon(
      pasos, [](const ado::ErrorInfo&, std::size_t) { return Siguiente; }, Pregunta::No);
}

Resultado EjecutarUnidad(const std::vector<PasoDeUnidad>& pasos, const Paso& deshacer,
                         const ManejadorDeUnidad& manejador) {
  std::vector<bool> omitido(pasos.size(), false);
  bool recuperado = false;  // the unit already ran again after a lost connection
  for (;;) {
    std::size_t i = 0;
    try {
      for (; i < pasos.size(); ++i) {
        if (omitido[i]) continue;
        EnPasoDeUnidad en;
        pasos[i].paso();
      }
      return Resultado::Completo;
    } catch (...) {
      const ado::ErrorInfo error = ErrorDe(std::current_exception());
      IgnorarErrores({deshacer});
      if (error.Kind == ado::FailureKind::TransactionLost) throw;
      if (!recuperado && Recuperar(error)) {
        recuperado = true;
        continue;
      }
      recuperado = false;
      const int respuesta = manejador(error, i, pasos[i].omision);
      if (respuesta == Reintentar) continue;
      if (respuesta == Siguiente && pasos[i].omision == Omision::Permitida) {
        omitido[i] = true;
        continue;
      }
      return Resultado::Abandonado;
    }
  }
}

}  // namespace trampa
