// Cutting a SQL Server style script into statements for Oracle.
#include "db/GuionOracle.h"
#include "fuzz/Entrada.h"

namespace {

class Grabador : public EjecutorGuion {
 public:
  void IniciarTransaccion() override { partes << QStringLiteral("SET TRANSACTION"); }
  void ConfirmarTransaccion() override { partes << QStringLiteral("COMMIT"); }
  void DeshacerTransaccion() override { partes << QStringLiteral("ROLLBACK"); }
  long Ejecutar(const QString&) override { return 1; }
  QStringList partes;
};

QString SinBlancos(const QString& s) {
  QString r;
  for (QChar c : s)
    if (!c.isSpace()) r += c;
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString guion = entrada::Texto(entrada::Bytes(datos, largo));
  QString normalizado = guion;
  NormalizarGuion(normalizado);

  Grabador g;
  QString resto = guion;
  long contador = 0;
  EjecutarGuionOracle(
      resto, contador,
      [&](const QString& sentencia) {
        g.partes << sentencia;
        return sentencia;
      },
      g);
  // What is left holds no statement: running it again runs nothing.
  Grabador otra;
  QString otraVez = resto;
  EjecutarGuionOracle(
      otraVez, contador, [](const QString& t) { return t; }, otra);
  EXIGIR(otra.partes.isEmpty(), resto);
  // Every statement is one piece of the script, in order: nothing is lost,
  // repeated or cut out of the middle of another statement.
  QString juntas;
  for (const QString& p : g.partes) {
    EXIGIR(!p.trimmed().isEmpty(), guion);
    juntas += p;
  }
  EXIGIR(
      SinBlancos(normalizado).endsWith(SinBlancos(juntas + resto), Qt::CaseInsensitive),
      guion + QStringLiteral("\n-> ") + g.partes.join(QStringLiteral(" | ")) + QStringLiteral(" / ") + resto);
  return 0;
}
