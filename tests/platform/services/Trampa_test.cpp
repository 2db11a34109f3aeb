#include "platform/services/Trampa.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using trampa::Resultado;

// A routine of three steps whose middle step fails `fallos` times.
struct Rutina {
  int fallos;
  std::vector<int> hechos;
  std::vector<long> numeros;

  Resultado Correr(std::vector<int> respuestas) {
    std::size_t r = 0;
    return trampa::Ejecutar({[&] { hechos.push_back(0); },
                             [&] {
                               if (fallos-- > 0) throw ado::Failure(3021, "sin registro");
                               hechos.push_back(1);
                             },
                             [&] { hechos.push_back(2); }},
                            [&](const ado::ErrorInfo& e, std::size_t paso) {
                              EXPECT_EQ(paso, 1u);
                              numeros.push_back(e.Number);
                              return r < respuestas.size() ? respuestas[r++] : 0;
                            });
  }
};

TEST(Trampa, AnswersDecideHowTheRoutineGoesOn) {
  struct Caso {
    const char* nombre;
    int fallos;
    std::vector<int> respuestas;
    Resultado esperado;
    std::vector<int> hechos;
  } casos[] = {
      {"no failure", 0, {}, Resultado::Completo, {0, 1, 2}},
      {"retry runs the step again", 1, {4}, Resultado::Completo, {0, 1, 2}},
      {"retry twice", 2, {4, 4}, Resultado::Completo, {0, 1, 2}},
      {"next skips the failing step", 1, {5}, Resultado::Completo, {0, 2}},
      {"abort leaves", 1, {3}, Resultado::Abandonado, {0}},
      {"zero leaves", 1, {0}, Resultado::Abandonado, {0}},
      {"retry then leave", 2, {4, 2}, Resultado::Abandonado, {0}},
  };
  for (auto& c : casos) {
    Rutina rutina{c.fallos, {}, {}};
    EXPECT_EQ(rutina.Correr(c.respuestas), c.esperado) << c.nombre;
    EXPECT_EQ(rutina.hechos, c.hechos) << c.nombre;
    for (long n : rutina.numeros) EXPECT_EQ(n, 3021) << c.nombre;
  }
}

// A unit of three steps whose middle one fails `fallos` times: the unit is
// undone before each question ("d" in the trace), an answer runs it all again,
// and a trap inside a step asks nobody.
TEST(Trampa, UnaUnidadSeDeshaceAntesDePreguntarYSeRepiteEntera) {
  struct Caso {
    const char* nombre;
    int fallos;
    trampa::Omision omision;  // of the failing step
    std::vector<int> respuestas;
    Resultado esperado;
    std::string traza;
  } casos[] = {
      {"retry runs everything again", 1, trampa::Omision::Permitida, {4}, Resultado::Completo, "0xd?012"},
      {"next runs it again without the step",
       1,
       trampa::Omision::Permitida,
       {5},
       Resultado::Completo,
       "0xd?02"},
      {"next cannot leave out what must stay",
       1,
       trampa::Omision::Prohibida,
       {5},
       Resultado::Abandonado,
       "0xd?"},
      {"abort leaves undone", 1, trampa::Omision::Permitida, {3}, Resultado::Abandonado, "0xd?"},
      {"retry, then next", 2, trampa::Omision::Permitida, {4, 5}, Resultado::Completo, "0xd?0xd?02"},
  };
  for (const Caso& c : casos) {
    int fallos = c.fallos;
    std::size_t r = 0;
    std::string traza;
    const Resultado resultado = trampa::EjecutarUnidad(
        {{[&] { traza += '0'; }},
         {[&] {
            if (fallos-- > 0) {
              traza += 'x';
              // A trap of its own inside the step: the unit hears of the failure, not its handler.
              trampa::Ejecutar({[] { throw ado::Failure(3021, "sin registro"); }},
                               [&](const ado::ErrorInfo&, std::size_t) {
                                 traza += '!';
                                 return trampa::Siguiente;
                               });
            }
            traza += '1';
          },
          c.omision},
         {[&] { traza += '2'; }}},
        [&] { traza += 'd'; },
        [&](const ado::ErrorInfo& e, std::size_t paso, trampa::Omision omision) {
          traza += '?';
          EXPECT_EQ(e.Number, 3021) << c.nombre;
          EXPECT_EQ(paso, 1u) << c.nombre;
          EXPECT_EQ(omision, c.omision) << c.nombre;
          return r < c.respuestas.size() ? c.respuestas[r++] : 0;
        });
    EXPECT_EQ(resultado, c.esperado) << c.nombre;
    EXPECT_EQ(traza, c.traza) << c.nombre;
  }
}

TEST(Trampa, ForeignExceptionsBecomeANonZeroError) {
  const ado::ErrorInfo e = trampa::ErrorDe(std::make_exception_ptr(std::runtime_error("boom")));
  EXPECT_NE(e.Number, 0);
  EXPECT_EQ(e.Description, "boom");
}

TEST(Trampa, IgnorarErroresRunsEveryOtherStep) {
  std::vector<int> hechos;
  auto r = trampa::IgnorarErrores(
      {[&] { hechos.push_back(0); }, [] { throw std::runtime_error("x"); }, [&] { hechos.push_back(2); }});
  EXPECT_EQ(r, Resultado::Completo);
  EXPECT_EQ(hechos, (std::vector<int>{0, 2}));
}

}  // namespace

namespace {

// A step that loses the connection the first `perdidas` times it runs.
TEST(Trampa, UnaConexionPerdidaSeRecuperaAntesDePreguntar) {
  const ado::ErrorInfo perdida{-1, "perdida", "x", ado::FailureKind::ConnectionLost};
  const struct {
    const char* nombre;
    int perdidas;
    bool recupera;  // what the database layer says
    int recuperaciones, preguntas;
    Resultado esperado;
  } casos[] = {
      {"recovered: runs again unasked", 1, true, 1, 0, Resultado::Completo},
      {"lost again: the handler decides", 2, true, 1, 1, Resultado::Abandonado},
      {"not recoverable: the handler decides", 1, false, 1, 1, Resultado::Abandonado},
  };
  for (const auto& c : casos) {
    int perdidas = c.perdidas, recuperaciones = 0, preguntas = 0;
    trampa::EstablecerRecuperacion([&](const ado::ErrorInfo& e) {
      EXPECT_EQ(e.Kind, ado::FailureKind::ConnectionLost);
      ++recuperaciones;
      return c.recupera;
    });
    const Resultado r = trampa::Ejecutar({[&] {
                                           if (perdidas-- > 0) throw ado::Failure(perdida);
                                         }},
                                         [&](const ado::ErrorInfo&, std::size_t) {
                                           ++preguntas;
                                           return 3;
                                         });
    EXPECT_EQ(r, c.esperado) << c.nombre;
    EXPECT_EQ(recuperaciones, c.recuperaciones) << c.nombre;
    EXPECT_EQ(preguntas, c.preguntas) << c.nombre;
  }
  trampa::EstablecerRecuperacion({});
}

TEST(Trampa, UnaTransaccionPerdidaSaleDeTodasLasTrampas) {
  std::vector<int> hechos;
  const ado::Failure perdida(ado::ErrorInfo{-1, "perdida", "x", ado::FailureKind::TransactionLost});
  try {
    trampa::IgnorarErrores({[&] {
                              trampa::IgnorarErrores({[&] { throw perdida; }, [&] { hechos.push_back(1); }});
                            },
                            [&] { hechos.push_back(2); }});
    ADD_FAILURE() << "the trap kept it";
  } catch (const ado::Failure& f) {
    EXPECT_EQ(f.Kind(), ado::FailureKind::TransactionLost);
  }
  EXPECT_TRUE(hechos.empty());
}

}  // namespace
