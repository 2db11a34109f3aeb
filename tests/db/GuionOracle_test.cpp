// Cutting a script into statements and running them on Oracle.
#include "db/GuionOracle.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <deque>

#include "platform/core/Error.h"

namespace {

class EjecutorGrabado : public EjecutorGuion {
 public:
  void IniciarTransaccion() override { llamadas << QStringLiteral("BEGIN"); }
  void ConfirmarTransaccion() override { llamadas << QStringLiteral("COMMIT"); }
  void DeshacerTransaccion() override { llamadas << QStringLiteral("ROLLBACK"); }
  long Ejecutar(const QString& sentencia) override {
    if (sentencia.contains(QLatin1String("FALLA"))) throw ado::Failure(102, QStringLiteral("Sintaxis"));
    llamadas << sentencia;
    if (cuentas.empty()) return 0;
    const long n = cuentas.front();
    cuentas.pop_front();
    return n;
  }
  QStringList llamadas;
  std::deque<long> cuentas;
};

// Marks what went through the translation, so the test sees it was applied.
QString Traducir(const QString& s) { return QStringLiteral("~") + s; }

struct Corrida {
  QStringList llamadas;
  long contador;
  QString resto;
};

Corrida Correr(const QString& guion, std::deque<long> cuentas = {}, long inicial = 0) {
  EjecutorGrabado e;
  e.cuentas = std::move(cuentas);
  QString g = guion;
  long contador = inicial;
  EjecutarGuionOracle(g, contador, Traducir, e);
  return {e.llamadas, contador, g};
}

TEST(GuionOracle, TransaccionConDosAltasYSuCuenta) {
  const Corrida c = Correr(QStringLiteral("BEGIN TRANSACTION\r\nINSERT INTO A VALUES (1)\r\n"
                                          "INSERT INTO A VALUES (2)\r\nCOMMIT TRANSACTION"),
                           {3, 5}, 100);
  EXPECT_EQ(c.llamadas,
            (QStringList{"BEGIN", "~INSERT INTO A VALUES (1)", "~INSERT INTO A VALUES (2)", "COMMIT"}));
  // The second insert's count is added again at the COMMIT.
  EXPECT_EQ(c.contador, 100 + 3 + 5 + 5);
  EXPECT_EQ(c.resto, QString());
}

TEST(GuionOracle, CortesYFiltros) {
  const struct {
    const char* nombre;
    QString guion;
    QStringList llamadas;
  } casos[] = {
      {"IF NOT EXIST se salta, lo que sigue se ejecuta",
       QStringLiteral("IF NOT EXISTS (SELECT 1 FROM T) INSERT INTO T VALUES (1)"),
       {QStringLiteral("~INSERT INTO T VALUES (1)")}},
      {"separador GO en su propia linea",
       QStringLiteral("INSERT INTO A VALUES (1)\r\nGO\r\nUPDATE A SET X = 1"),
       {QStringLiteral("~INSERT INTO A VALUES (1)"), QStringLiteral("~UPDATE A SET X = 1")}},
      {"SET NOCOUNT desaparece",
       QStringLiteral("SET NOCOUNT ON DELETE FROM A SET NOCOUNT OFF"),
       {QStringLiteral("~DELETE FROM A")}},
      {"BEGIN TRANS y ROLLBACK TRANS",
       QStringLiteral("begin trans delete from A rollback trans"),
       {QStringLiteral("BEGIN"), QStringLiteral("~delete from A"), QStringLiteral("ROLLBACK")}},
      {"palabra clave dentro de un literal no corta",
       QStringLiteral("INSERT INTO LOG VALUES ('UPDATE hecho; DROP nada')"),
       {QStringLiteral("~INSERT INTO LOG VALUES ('UPDATE hecho; DROP nada')")}},
      {"palabra clave al final de un nombre no corta",
       QStringLiteral("ALTER TABLE T ADD FECHA_UPDATE DATETIME"),
       {QStringLiteral("~ALTER TABLE T ADD FECHA_UPDATE DATETIME")}},
      {"texto antes de la primera palabra clave se salta",
       QStringLiteral("  -- comentario\nINSERT INTO A VALUES (1) GRANT SELECT ON A TO B"),
       {QStringLiteral("~INSERT INTO A VALUES (1)"), QStringLiteral("~GRANT SELECT ON A TO B")}},
      {"COMMITTED no es un COMMIT",
       QStringLiteral("UPDATE T SET COMMITTED = 1"),
       {QStringLiteral("~UPDATE T SET COMMITTED = 1")}},
      {"READ COMMITTED sigue en su sentencia",
       QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED INSERT INTO A VALUES (1)"),
       {QStringLiteral("~SET TRANSACTION ISOLATION LEVEL READ COMMITTED"),
        QStringLiteral("~INSERT INTO A VALUES (1)")}},
      {"sin palabras clave no se ejecuta nada", QStringLiteral("SELECT 1 FROM DUAL"), {}},
  };
  for (const auto& c : casos) EXPECT_EQ(Correr(c.guion).llamadas, c.llamadas) << c.nombre;
}

TEST(GuionOracle, CuentasEntreSentencias) {
  // A transaction statement before any other adds nothing; a skipped one adds the last count again.
  const Corrida c =
      Correr(QStringLiteral("BEGIN TRANS INSERT INTO A VALUES (1) IF NOT EXISTS (X) COMMIT"), {4}, 0);
  EXPECT_EQ(c.llamadas, (QStringList{"BEGIN", "~INSERT INTO A VALUES (1)", "COMMIT"}));
  EXPECT_EQ(c.contador, 0 + 4 + 4 + 4);
}

TEST(GuionOracle, UnFalloDejaLoEjecutadoYElResto) {
  EjecutorGrabado e;
  QString g = QStringLiteral("INSERT INTO A VALUES (1) INSERT INTO FALLA VALUES (2) DELETE FROM A");
  long contador = 0;
  EXPECT_THROW(EjecutarGuionOracle(g, contador, Traducir, e), ado::Failure);
  EXPECT_EQ(e.llamadas, QStringList{"~INSERT INTO A VALUES (1)"});
  EXPECT_EQ(g, QStringLiteral("INSERT INTO FALLA VALUES (2) DELETE FROM A"));
}

TEST(GuionOracle, FiltrarSentenciaVaciaLaVariable) {
  QString s = QStringLiteral("if not exists (select 1) insert");
  EXPECT_EQ(FiltrarSentencia(s), QString());
  EXPECT_EQ(s, QString());
  QString t = QStringLiteral("SET NOCOUNT ON");
  EXPECT_EQ(FiltrarSentencia(t), QString());
  QString u = QStringLiteral("INSERT INTO A VALUES (1)");
  EXPECT_EQ(FiltrarSentencia(u), u);
}

}  // namespace
