#include "db/TraduccionOracle.h"

#include <QRegularExpression>
#include <QStringList>

#include "db/TextoSql.h"

namespace {

bool EsDeIdentificador(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Position of the first "top " that starts a word, outside literals.
int PosicionTop(const QString& s) {
  const QString mascara = MascaraLiterales(s);
  int p = mascara.indexOf(QLatin1String("top "), 0, Qt::CaseInsensitive);
  while (p >= 0) {
    if (p == 0 || !EsDeIdentificador(mascara[p - 1])) return p;
    p = mascara.indexOf(QLatin1String("top "), p + 1, Qt::CaseInsensitive);
  }
  return -1;
}

QString Reemplazos(QString s, std::initializer_list<std::pair<const char*, const char*>> pares) {
  for (const auto& [de, a] : pares)
    s = ReemplazarFueraDeLiterales(s, QString::fromLatin1(de), QString::fromLatin1(a));
  return s;
}

}  // namespace

QString ReglaTopARownum(const QString& s) {
  const int t = PosicionTop(s);
  if (t < 0) return s;
  const QString antes = s.left(t);
  const QString despues = s.mid(t + 3).trimmed();
  const int blanco = despues.indexOf(QLatin1Char(' '));
  const QString n = blanco < 0 ? despues : despues.left(blanco);
  QString cuerpo = blanco < 0 ? QString() : despues.mid(blanco + 1);

  QString colaGroup;
  QString colaOrder;
  const int g = BuscarFueraDeLiterales(s, QStringLiteral(" GROUP BY "));
  if (g >= 0) {
    colaGroup = s.mid(g);
  } else {
    const int o = BuscarFueraDeLiterales(s, QStringLiteral("ORDER BY "));
    if (o >= 0) colaOrder = s.mid(o);
  }
  const QString cola = (colaGroup + colaOrder).trimmed();
  if (!cola.isEmpty()) {
    // The tail ends the statement, so it ends the body too; anywhere else it
    // would belong to a subquery and moving it would change the statement.
    if (cuerpo.endsWith(cola, Qt::CaseInsensitive)) {
      cuerpo = cuerpo.left(cuerpo.size() - cola.size()) + QLatin1Char(' ');
    } else {
      colaGroup.clear();
      colaOrder.clear();
    }
  }
  const QString limite = BuscarFueraDeLiterales(s, QStringLiteral(" WHERE ")) < 0
                             ? QStringLiteral(" WHERE ROWNUM <= ") + n
                             : QStringLiteral(" AND ROWNUM <= ") + n;
  return antes + QLatin1Char(' ') + cuerpo + QLatin1Char(' ') + limite + QLatin1Char(' ') + colaGroup +
         QLatin1Char(' ') + colaOrder;
}

bool FechaDeTexto(const QString& texto, QDate& fecha) {
  static const QRegularExpression diaPrimero(
      QStringLiteral("^\\s*(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{4}|\\d{2})\\s*$"));
  static const QRegularExpression anioPrimero(
      QStringLiteral("^\\s*(\\d{4})([/-])(\\d{1,2})\\2(\\d{1,2})\\s*$"));
  int d = 0, m = 0, a = 0;
  if (const auto r = diaPrimero.match(texto); r.hasMatch()) {
    d = r.captured(1).toInt();
    m = r.captured(3).toInt();
    a = r.captured(4).toInt();
    if (r.captured(4).size() == 2) a += a < 30 ? 2000 : 1900;
  } else if (const auto r2 = anioPrimero.match(texto); r2.hasMatch()) {
    a = r2.captured(1).toInt();
    m = r2.captured(3).toInt();
    d = r2.captured(4).toInt();
  } else {
    return false;
  }
  if (!QDate::isValid(a, m, d)) return false;
  fecha = QDate(a, m, d);
  return true;
}

QString ReglaFechas(const QString& s) {
  QString r;
  int copiado = 0;
  LiteralSql lit;
  int desde = 0;
  while (SiguienteLiteral(s, desde, lit)) {
    QDate f;
    if (FechaDeTexto(lit.contenido, f)) {
      r += QStringView(s).mid(copiado, lit.inicio - copiado);
      r += QStringLiteral("TO_DATE('") + f.toString(QStringLiteral("dd/MM/yyyy")) +
           QStringLiteral("','DD/MM/YYYY')");
      copiado = lit.fin;
    }
    desde = lit.fin;
  }
  r += QStringView(s).mid(copiado);
  // A literal the caller had already wrapped is wrapped once only.
  while (r.contains(QLatin1String("TO_DATE(TO_DATE("), Qt::CaseInsensitive)) {
    r.replace(QLatin1String("TO_DATE(TO_DATE("), QLatin1String("TO_DATE("), Qt::CaseInsensitive);
    r.replace(QLatin1String("'DD/MM/YYYY'),'DD/MM/YYYY')"), QLatin1String("'DD/MM/YYYY')"),
              Qt::CaseInsensitive);
  }
  return r;
}

QString ReglaVacioANulo(const QString& s) {
  const int w = BuscarFueraDeLiterales(s, QStringLiteral("WHERE "));
  if (w < 0) return s;
  QString r = ReemplazarFueraDeLiterales(s, QStringLiteral("= ''"), QStringLiteral(" IS NULL "), w);
  return ReemplazarFueraDeLiterales(r, QStringLiteral("=''"), QStringLiteral(" IS NULL "), w);
}

QString ReglaEstilo103(const QString& s) {
  const QString mascara = MascaraLiterales(s);
  QList<int> posiciones;
  for (int p = mascara.indexOf(QLatin1String("103")); p >= 0;
       p = mascara.indexOf(QLatin1String("103"), p + 3)) {
    // Only the number 103 itself, not part of 1030 or of a name.
    if (p > 0 && EsDeIdentificador(mascara[p - 1])) continue;
    if (p + 3 < mascara.size() && (EsDeIdentificador(mascara[p + 3]) || mascara[p + 3] == QLatin1Char('.')))
      continue;
    const int q = mascara.lastIndexOf(QLatin1Char('('), p);
    if (q < 7) continue;
    if (mascara.mid(q - 7, 8).compare(QLatin1String("TO_CHAR("), Qt::CaseInsensitive) != 0) continue;
    posiciones.prepend(p);
  }
  QString r = s;
  for (int p : posiciones) r.replace(p, 3, QStringLiteral("'DD/MM/YYYY'"));
  return r;
}

QString TraducirAOracle(const QString& sentencia) {
  QString s = ReglaTopARownum(sentencia);
  s = Reemplazos(s, {{" LEN(", " LENGTH("},
                     {" LEN (", " LENGTH("},
                     {" LEN  (", " LENGTH("},
                     {" LEN   (", " LENGTH("},
                     {" LEN    (", " LENGTH("}});
  s = Reemplazos(s, {{"[", "\""}, {"]", "\""}});
  s = ReglaFechas(s);
  s = Reemplazos(s, {{"Charindex", "InStr"}});
  s = Reemplazos(s, {{"CONVERT(NVARCHAR,", "TO_CHAR("}, {"CONVERT(INT,", "TO_NUMBER("}});
  s = ReglaVacioANulo(s);
  s = ReglaEstilo103(s);
  s = Reemplazos(s, {{"SUBSTRING(", "SUBSTR("}});
  s = Reemplazos(s, {{"ISNULL(", "NVL("}});
  return s;
}
