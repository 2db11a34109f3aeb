#include "db/GuionOracle.h"

#include "db/TextoSql.h"

namespace {

bool EsDeIdentificador(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Whether the keyword found at `p` stands as a word of its own: "COMMIT" is not
// the start of "COMMITTED"; "IF EXIST" also stands for "IF EXISTS".
bool EsPalabra(const QString& mascara, int p, const QString& clave) {
  if (p > 0 && EsDeIdentificador(mascara[p - 1])) return false;
  int fin = p + static_cast<int>(clave.size());
  if (!EsDeIdentificador(clave.back())) return true;
  if (clave.endsWith(QLatin1String("EXIST")) && fin < mascara.size() &&
      mascara[fin].toUpper() == QLatin1Char('S'))
    ++fin;
  return fin >= mascara.size() || !EsDeIdentificador(mascara[fin]);
}

// Smallest position of a keyword that stands as a word outside literals, at or after `desde`; -1 when none.
int SiguientePalabraClave(const QString& guion, int desde) {
  const QString mascara = MascaraLiterales(guion);
  int mejor = -1;
  for (const QString& clave : PalabrasInicioSentencia()) {
    int p = mascara.indexOf(clave, desde, Qt::CaseInsensitive);
    while (p >= 0 && !EsPalabra(mascara, p, clave)) p = mascara.indexOf(clave, p + 1, Qt::CaseInsensitive);
    if (p >= 0 && (mejor < 0 || p < mejor)) mejor = p;
  }
  return mejor;
}

}  // namespace

const QStringList& PalabrasInicioSentencia() {
  static const QStringList claves{
      QStringLiteral("INSERT "),         QStringLiteral("DELETE "),  QStringLiteral("UPDATE "),
      QStringLiteral("CREATE "),         QStringLiteral("DROP "),    QStringLiteral("ALTER "),
      QStringLiteral("SET TRANSACTION"), QStringLiteral("COMMIT"),   QStringLiteral("ROLLBACK"),
      QStringLiteral("IF NOT EXIST"),    QStringLiteral("IF EXIST"), QStringLiteral("GRANT ")};
  return claves;
}

QString FiltrarSentencia(QString& sentencia) {
  if (sentencia.contains(QLatin1String("SET NOCOUNT"), Qt::CaseInsensitive) ||
      sentencia.contains(QLatin1String("IF NOT EXIST"), Qt::CaseInsensitive))
    sentencia.clear();
  return sentencia;
}

void NormalizarGuion(QString& guion) {
  const QString crlf = QStringLiteral("\r\n");
  const std::pair<QString, QString> pasos[] = {
      {QStringLiteral("SET NOCOUNT ON"), QString()},
      {QStringLiteral("SET NOCOUNT OFF"), QString()},
      {QStringLiteral(" GO "), QStringLiteral(" ")},
      {crlf + QStringLiteral("GO "), QStringLiteral(" ")},
      {crlf + QStringLiteral("GO "), QStringLiteral(" ")},
      {crlf + QStringLiteral("GO") + crlf, QStringLiteral(" ")},
      {QStringLiteral("\r"), QStringLiteral(" ")},
      {QStringLiteral("BEGIN TRANSACTION"), QStringLiteral("SET TRANSACTION")},
      {QStringLiteral("BEGIN TRANS"), QStringLiteral("SET TRANSACTION")},
      {QStringLiteral("COMMIT TRANSACTION"), QStringLiteral("COMMIT")},
      {QStringLiteral("COMMIT TRANS"), QStringLiteral("COMMIT")},
      {QStringLiteral("ROLLBACK TRANSACTION"), QStringLiteral("ROLLBACK")},
      {QStringLiteral("ROLLBACK TRANS"), QStringLiteral("ROLLBACK")},
  };
  for (const auto& [de, a] : pasos) guion = ReemplazarFueraDeLiterales(guion, de, a);
}

void EjecutarGuionOracle(QString& guion, long& contador,
                         const std::function<QString(const QString&)>& traducir, EjecutorGuion& ejecutor) {
  NormalizarGuion(guion);
  // The count of the last statement run is added again for each transaction
  // statement that follows it.
  long ultimo = 0;
  int p1 = SiguientePalabraClave(guion, 0);
  while (p1 >= 0) {
    const int siguiente = SiguientePalabraClave(guion, p1 + 1);
    const QString sentencia = (siguiente < 0 ? guion.mid(p1) : guion.mid(p1, siguiente - p1)).trimmed();
    if (!sentencia.isEmpty()) {
      if (sentencia.compare(QLatin1String("SET TRANSACTION"), Qt::CaseInsensitive) == 0) {
        ejecutor.IniciarTransaccion();
      } else if (sentencia.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0) {
        ejecutor.ConfirmarTransaccion();
      } else if (sentencia.compare(QLatin1String("ROLLBACK"), Qt::CaseInsensitive) == 0) {
        ejecutor.DeshacerTransaccion();
      } else {
        QString traducida = traducir(sentencia);
        FiltrarSentencia(traducida);
        if (!traducida.trimmed().isEmpty()) ultimo = ejecutor.Ejecutar(traducida);
      }
      contador += ultimo;
    }
    guion = siguiente < 0 ? QString() : guion.mid(siguiente).trimmed();
    p1 = SiguientePalabraClave(guion, 0);
  }
}
