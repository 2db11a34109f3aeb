// Number and literal handling of statement text.
#include "db/TextoSql.h"

#include <gtest/gtest.h>

#include <limits>

#include "db/NumeroSql.h"
#include "platform/core/Error.h"

namespace {

TEST(NumeroInicial, LeeElNumeroDelPrincipio) {
  const struct {
    const char* texto;
    double numero;
  } casos[] = {
      {"12abc", 12},   {"abc", 0},  {"", 0},       {"  42  ", 42}, {"-3.25x", -3.25},
      {"1 234", 1234}, {".5", 0.5}, {"1e3", 1000}, {"1e", 1},      {"+7", 7},
      {"12,5", 12},    {"-", 0},    {"0012", 12},  {"3.", 3},      {"1.5.6", 1.5},
  };
  for (const auto& c : casos)
    EXPECT_DOUBLE_EQ(NumeroInicial(QString::fromUtf8(c.texto)), c.numero) << c.texto;
}

TEST(NumeroSql, EscribeDecimalPlanoConPunto) {
  const struct {
    double numero;
    const char* texto;
  } casos[] = {
      {1234.5, "1234.5"},      {12, "12"},          {0, "0"},        {-0.25, "-0.25"},
      {1e12, "1000000000000"}, {0.12345, "0.1235"}, {-0.00001, "0"},
  };
  for (const auto& c : casos) EXPECT_EQ(NumeroSql(c.numero), QString::fromUtf8(c.texto)) << c.numero;
  EXPECT_THROW(NumeroSql(std::numeric_limits<double>::infinity()), ado::Failure);  // never "inf"
}

TEST(Literales, DuplicaApostrofes) {
  EXPECT_EQ(DuplicarApostrofes(QStringLiteral("O'Brien")), QStringLiteral("O''Brien"));
  EXPECT_EQ(DuplicarApostrofes(QStringLiteral("''")), QStringLiteral("''''"));
  EXPECT_EQ(DuplicarApostrofes(QString()), QString());
}

TEST(Literales, LaMascaraOcultaSoloElContenido) {
  const QChar o(0x0001);
  const struct {
    QString sql;
    QString mascara;
  } casos[] = {
      {QStringLiteral("A = 'xy' B"), QStringLiteral("A = '") + o + o + QStringLiteral("' B")},
      {QStringLiteral("A = '' B"), QStringLiteral("A = '' B")},
      {QStringLiteral("'O''B'"), QStringLiteral("'") + QString(4, o) + QStringLiteral("'")},
      {QStringLiteral("X 'abierto"), QStringLiteral("X '") + QString(7, o)},
      {QStringLiteral("'a' + 'b'"),
       QStringLiteral("'") + o + QStringLiteral("' + '") + o + QStringLiteral("'")},
  };
  for (const auto& c : casos) EXPECT_EQ(MascaraLiterales(c.sql), c.mascara) << c.sql.toStdString();
}

TEST(Literales, BuscaYReemplazaFueraDeLiterales) {
  EXPECT_EQ(BuscarFueraDeLiterales(QStringLiteral("X = 'top ' top 1"), QStringLiteral("TOP ")), 11);
  EXPECT_EQ(BuscarFueraDeLiterales(QStringLiteral("X = 'where '"), QStringLiteral("WHERE ")), -1);
  EXPECT_EQ(ReemplazarFueraDeLiterales(QStringLiteral("ISNULL(a,'ISNULL(') isnull(b"),
                                       QStringLiteral("ISNULL("), QStringLiteral("NVL(")),
            QStringLiteral("NVL(a,'ISNULL(') NVL(b"));
  // The search may start past a prefix that stays as it is.
  EXPECT_EQ(ReemplazarFueraDeLiterales(QStringLiteral("a a a"), QStringLiteral("a"), QStringLiteral("b"), 1),
            QStringLiteral("a b b"));
}

TEST(Literales, SiguienteLiteralDevuelveElContenidoSinDobles) {
  LiteralSql l;
  ASSERT_TRUE(SiguienteLiteral(QStringLiteral("X = 'O''B' AND 'c'"), 0, l));
  EXPECT_EQ(l.inicio, 4);
  EXPECT_EQ(l.fin, 10);
  EXPECT_EQ(l.contenido, QStringLiteral("O'B"));
  ASSERT_TRUE(SiguienteLiteral(QStringLiteral("X = 'O''B' AND 'c'"), l.fin, l));
  EXPECT_EQ(l.contenido, QStringLiteral("c"));
  EXPECT_FALSE(SiguienteLiteral(QStringLiteral("X = 'sin cierre"), 0, l));
}

}  // namespace
