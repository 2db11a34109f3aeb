// Literal formatting, type families and object-name helpers of the database class.
#include <gtest/gtest.h>

#include <set>

#include "db/DB_Dll.h"
#include "support/Idioma.h"

namespace {

TEST(FamiliasDeTipo, CadaPruebaReconoceExactamenteSusCodigos) {
  DB_Dll db;
  const struct {
    const char* nombre;
    bool (DB_Dll::*prueba)(const ado::Value&) const;
    std::set<int> codigos;
  } familias[] = {
      {"adodate", &DB_Dll::adodate, {7, 133, 137, 134, 135, 64}},
      {"ADOText", &DB_Dll::ADOText, {8, 201, 203, 200, 202, 130}},
      {"ADONumeric", &DB_Dll::ADONumeric, {20, 14, 5, 3, 131, 4, 2, 16, 21, 19, 18, 17}},
      {"ADOCurrency", &DB_Dll::ADOCurrency, {6}},
      {"ADOBoolean", &DB_Dll::ADOBoolean, {11}},
  };
  for (const auto& f : familias)
    for (int codigo = -1; codigo <= 300; ++codigo)
      EXPECT_EQ((db.*f.prueba)(codigo), f.codigos.count(codigo) == 1) << f.nombre << " " << codigo;
  // Codes that look close but belong to no family.
  for (int codigo : {129, 139, 0, 12, 72})
    for (const auto& f : familias) EXPECT_FALSE((db.*f.prueba)(codigo)) << f.nombre << " " << codigo;
  EXPECT_TRUE(db.ADOText(QStringLiteral("200")));
  EXPECT_FALSE(db.ADOText(ado::Null()));
  EXPECT_FALSE(db.ADOText(ado::Empty()));
}

// Under a decimal comma: a number never goes through text, a typed text is
// read with the comma; neither gets an exponent.
TEST(SQLValue, LiteralesPorTipo) {
  DB_Dll db;
  EnIdioma idioma("es_AR");
  const struct {
    const char* nombre;
    ado::Value valor;
    const char* tipo;
    const char* esperado;
  } casos[] = {
      {"numero con decimales", 1234.5, "@", "1234.5"},
      {"entero sin decimales", 1234, "@", "1234"},
      {"texto con coma decimal", QStringLiteral("1234,5"), "@", "1234.5"},
      {"sin exponente", 100000.0, "@", "100000"},
      {"cuatro decimales", 0.00005, "@", "0.0001"},
      {"vacio como numero", ado::Empty(), "@", "0"},
      {"nulo como numero", ado::Null(), "@", "0"},
      {"nulo como texto, sin comillas", ado::Null(), "'", "NULL"},
      {"nulo sin tipo", ado::Null(), "", "NULL"},
      {"texto con apostrofe", QStringLiteral("O'Brien"), "'", "'O''Brien'"},
      {"texto vacio", QString(), "'", "''"},
      {"valor sin tipo, tal cual", QStringLiteral("GETDATE()"), "", "GETDATE()"},
      {"negativo", -0.75, "@", "-0.75"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(db.SQLValue(c.valor, QString::fromUtf8(c.tipo)).toString(), QString::fromUtf8(c.esperado))
        << c.nombre;
  // A text that is not a number is refused, never written as 0 or as its leading digits.
  for (const char* t : {"abc", "12abc", "1.5"}) {
    try {
      db.SQLValue(QString::fromLatin1(t), QStringLiteral("@"));
      ADD_FAILURE() << t;
    } catch (const ado::Failure& f) {
      EXPECT_EQ(f.Number(), ado::err::WrongType) << t;
    }
  }
}

TEST(NombresDeObjetos, stSTFYStripOwnerReescribenLaVariable) {
  DB_Dll db;
  const struct {
    const char* nombre;
    short parte;
    const char* resultado;
    const char* variableDespues;
  } casos[] = {
      {"CLIENTES.CODIGO", 0, "CLIENTES", "CLIENTES.CODIGO"},
      {"CLIENTES.CODIGO", 1, "CODIGO", "CLIENTES.CODIGO"},
      {"dbo.CLIENTES.CODIGO", 0, "CLIENTES.CODIGO", "CLIENTES.CODIGO"},
      {"dbo.CLIENTES.CODIGO", 1, "CLIENTES.CODIGO", "CLIENTES.CODIGO"},
      {"CLIENTES", 1, "CLIENTES", "CLIENTES"},
      {"CLIENTES", 0, "CLIENTES", "CLIENTES"},
  };
  for (const auto& c : casos) {
    QString v = QString::fromUtf8(c.nombre);
    EXPECT_EQ(db.stSTF(v, c.parte), QString::fromUtf8(c.resultado)) << c.nombre << " " << c.parte;
    EXPECT_EQ(v, QString::fromUtf8(c.variableDespues)) << c.nombre;
  }
  for (const auto& [nombre, despues] : {std::pair{"dbo.CLIENTES", "CLIENTES"}, std::pair{"a.b.c", "b.c"},
                                        std::pair{"CLIENTES", "CLIENTES"}}) {
    QString v = QString::fromUtf8(nombre);
    EXPECT_EQ(db.StripOwner(v), QString::fromUtf8(despues)) << nombre;
    EXPECT_EQ(v, QString::fromUtf8(despues)) << nombre;
  }
}

TEST(NombresDeObjetos, CorchetesYCarpetas) {
  DB_Dll db;
  const struct {
    const char* entrada;
    const char* addBrackets;
    const char* stripBrackets;
  } nombres[] = {
      {"MI TABLA", "[MI TABLA]", "MI TABLA"},
      {"[MI TABLA]", "[MI TABLA]", "MI TABLA"},
      {"TABLA", "TABLA", "TABLA"},
      {"", "", ""},
      {"[", "[", ""},
  };
  for (const auto& n : nombres) {
    EXPECT_EQ(db.AddBrackets(QString::fromUtf8(n.entrada)), QString::fromUtf8(n.addBrackets)) << n.entrada;
    EXPECT_EQ(db.StripBrackets(QString::fromUtf8(n.entrada)), QString::fromUtf8(n.stripBrackets))
        << n.entrada;
  }
  const struct {
    const char* ruta;
    const char* carpeta;
  } rutas[] = {
      {"C:\\datos\\base.mdb", "C:\\datos"},
      {"base.mdb", ""},
      {"/srv/datos/base.sqlite", "/srv/datos"},
      {"C:\\base.mdb", "C:"},
      {"", ""},
  };
  for (const auto& r : rutas)
    EXPECT_EQ(db.StripFileName(QString::fromUtf8(r.ruta)), QString::fromUtf8(r.carpeta));
}

}  // namespace
