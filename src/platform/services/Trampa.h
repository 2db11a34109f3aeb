#pragma once
// Error traps: a routine is a sequence of steps run under a handler. When a
// step fails, the handler gets the error and answers: 4 runs the step again,
// 5 goes on with the next step, anything else leaves the routine.
#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/core/Error.h"

namespace trampa {

constexpr int Reintentar = 4;
constexpr int Siguiente = 5;

enum class Resultado { Completo, Abandonado };

using Paso = std::function<void()>;
// Gets the error and the index of the failing step; returns the answer.
using Manejador = std::function<int(const ado::ErrorInfo&, std::size_t paso)>;

// Turns whatever a step threw into the error record of the trap.
ado::ErrorInfo ErrorDe(std::exception_ptr e);

// What every trap does first with a step that failed because the connection
// was lost, before the routine's handler hears of it: the database layer
// tells the operator and says whether the step may just run again (the
// connection reopens itself when next used). A step runs again that way once
// in a row; failing again, it goes to the handler. A failure that lost a
// transaction is no step's to handle: it leaves every trap up to the code
// that owns the transaction, which alone can end it.
using Recuperacion = std::function<bool(const ado::ErrorInfo&)>;
void EstablecerRecuperacion(Recuperacion recuperacion);

Resultado Ejecutar(const std::vector<Paso>& pasos, const Manejador& manejador);

// A unit: steps that stand or fall together. When one fails, `deshacer`
// undoes the whole unit first, and only then is the handler asked, so that no
// answer is awaited while the unit holds anything: 4 runs the whole unit again
// from its first step; 5 runs it again without the failing step where that
// step may be left out, and leaves otherwise; anything else leaves. While a
// step runs, the traps inside it ask nobody either: their failures go to the
// unit. A failure that lost a transaction is thrown on after `deshacer`.
enum class Omision { Permitida, Prohibida };
struct PasoDeUnidad {
  Paso paso;
  Omision omision = Omision::Permitida;
};
using ManejadorDeUnidad = std::function<int(const ado::ErrorInfo&, std::size_t paso, Omision)>;
Resultado EjecutarUnidad(const std::vector<PasoDeUnidad>& pasos, const Paso& deshacer,
                         const ManejadorDeUnidad& manejador);

// The "skip a failing statement and go on" trap of small handlers.
Resultado IgnorarErrores(const std::vector<Paso>& pasos);

}  // namespace trampa
