// The three-way comparison behind a save: this screen against the company as
// shown and as stored now, one field at a time, and how a settled clash
// reacts to a later change.
#include "company/rules/FusionCambios.h"

#include <gtest/gtest.h>

namespace {

FusionCambios UnCampo(const char* mostrado, const char* pantalla) {
  return FusionCambios({{QStringLiteral("Telefono"),
                         QStringLiteral("Telefono"),
                         ClaseDato::Texto,
                         QString::fromUtf8(mostrado),
                         QString::fromUtf8(pantalla),
                         {}}});
}

// A field left blank reads back as NULL on one engine and as empty text or
// bytes on another: that is no change; a value beside nothing is one.
TEST(FusionCambios, NadaEsIgualANadaDeCualquierClase) {
  const ado::Value nulo = ado::Null(), vacio = ado::Value();
  const struct {
    ado::Value a, b;
    bool mismo;
  } casos[] = {
      {nulo, nulo, true},
      {nulo, vacio, true},
      {nulo, QString(), true},
      {QString(), vacio, true},
      {nulo, QByteArray(), true},
      {vacio, QByteArray(), true},
      {nulo, QStringLiteral("x"), false},
      {QStringLiteral(" "), nulo, false},
      {nulo, QByteArray("\0", 1), false},
      {nulo, false, false},
      {vacio, true, false},
      {QByteArray("a"), QByteArray("a"), true},
      {false, false, true},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.a.toString().toStdString() + " / " + c.b.toString().toStdString());
    EXPECT_EQ(MismoDato(c.a, c.b), c.mismo);
    EXPECT_EQ(MismoDato(c.b, c.a), c.mismo);
  }
}

TEST(FusionCambios, CadaCampoSeEscribeSeConservaOChoca) {
  enum class Resultado { Nada, Escribe, Conserva, Choca };
  const struct {
    const char *mostrado, *pantalla, *guardado;
    Resultado esperado;
  } casos[] = {
      {"1", "1", "1", Resultado::Nada},     {"1", "2", "1", Resultado::Escribe},
      {"1", "1", "3", Resultado::Conserva}, {"1", "2", "2", Resultado::Nada},  // both typed the same
      {"1", "2", "3", Resultado::Choca},    {"", "2", "", Resultado::Escribe},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.mostrado) + " / " + c.pantalla + " / " + c.guardado);
    FusionCambios f = UnCampo(c.mostrado, c.pantalla);
    const auto r = f.Comparar({QString::fromUtf8(c.guardado)});
    const Resultado obtenido = r.Choca()                    ? Resultado::Choca
                               : !r.escribir.empty()        ? Resultado::Escribe
                               : !f.Conservados().isEmpty() ? Resultado::Conserva
                                                            : Resultado::Nada;
    EXPECT_EQ(obtenido, c.esperado);
  }
}

// Settled once, a clash comes back only when the stored value changes again.
TEST(FusionCambios, UnaEleccionValeHastaElProximoCambioAjeno) {
  const struct {
    Eleccion eleccion;
    bool escribeSinCambio;
    bool chocaTrasOtroCambio;
  } casos[] = {{Eleccion::Mia, true, true}, {Eleccion::Guardada, false, false}};
  for (const auto& c : casos) {
    SCOPED_TRACE(static_cast<int>(c.eleccion));
    FusionCambios f = UnCampo("1", "2");
    ASSERT_TRUE(f.Comparar({QStringLiteral("3")}).Choca());
    f.Resolver(0, c.eleccion);
    const auto igual = f.Comparar({QStringLiteral("3")});
    EXPECT_FALSE(igual.Choca());
    EXPECT_EQ(!igual.escribir.empty(), c.escribeSinCambio);
    EXPECT_EQ(f.Conservados().isEmpty(), c.escribeSinCambio);
    EXPECT_EQ(f.Comparar({QStringLiteral("4")}).Choca(), c.chocaTrasOtroCambio);
  }
}

}  // namespace
