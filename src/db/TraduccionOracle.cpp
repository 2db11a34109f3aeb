#include "db/TraduccionOracle.h"

#include <QRegularExpression>
#include <QStringList>

#include "db/TextoSql.h"

namespace {

bool EsDeIdentificador(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Position of the first word "top" followed by a blank or a line break, outside literals.
int PosicionTop(const QString& s) {
  const QString mascara = MascaraLiterales(s);
  int p = mascara.indexOf(QLatin1String("top"), 0, Qt::CaseInsensitive);
  while (p >= 0) {
    if ((p == 0 || !EsDeIdentificador(mascara[p - 1])) && p + 3 < mascara.size() && mascara[p + 3].isSpace())
      return p;
    p = mascara.indexOf(QLatin1String("top"), p + 1, Qt::CaseInsensitive);
  }
  return -1;
}

// Whether the literal starting at `inicio` is the first argument of a TO_DATE call already there.
bool DentroDeToDate(const QString& s, int inicio) {
  int i = inicio - 1;
  while (i >= 0 && s.at(i).isSpace()) --i;
  if (i < 0 || s.at(i) != QLatin1Char('(')) return false;
  --i;
  while (i >= 0 && s.at(i).isSpace()) --i;
  const int fin = i + 1;
  return fin >= 7 &&
         QStringView(s).mid(fin - 7, 7).compare(QLatin1String("TO_DATE"), Qt::CaseInsensitive) == 0 &&
         (fin == 7 || !EsDeIdentificador(s.at(fin - 8)));
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
  // Any blank, a line break too, ends TOP's number.
  int blanco = 0;
  while (blanco < despues.size() && !despues.at(blanco).isSpace()) ++blanco;
  const QString n = despues.left(blanco);
  QString cuerpo = despues.mid(blanco + 1);

  // Only the statement's own tail moves; a subquery keeps its GROUP BY / ORDER BY.
  QString colaGroup;
  QString colaOrder;
  const int g = BuscarPalabraExterior(s, QStringLiteral("GROUP BY"));
  if (g >= 0) {
    colaGroup = s.mid(g > 0 && s.at(g - 1) == QLatin1Char(' ') ? g - 1 : g);
  } else {
    const int o = BuscarPalabraExterior(s, QStringLiteral("ORDER BY"));
    if (o >= 0) colaOrder = s.mid(o);
  }
  const QString cola = (colaGroup + colaOrder).trimmed();
  if (!cola.isEmpty()) {
    if (cuerpo.endsWith(cola, Qt::CaseInsensitive)) {
      cuerpo = cuerpo.left(cuerpo.size() - cola.size()) + QLatin1Char(' ');
    } else {
      colaGroup.clear();
      colaOrder.clear();
    }
  }
  // A "--" comment at the end of the body must not swallow what is put after it.
  const bool comentario = BuscarFueraDeLiterales(cuerpo, QStringLiteral("--")) >= 0;
  const QString salto = comentario ? QStringLiteral("\n") : QString();
  QString limite;
  const int w = BuscarPalabraExterior(cuerpo, QStringLiteral("WHERE"));
  if (w < 0) {
    limite = QStringLiteral(" WHERE ROWNUM <= ") + n;
  } else {
    limite = QStringLiteral(" AND ROWNUM <= ") + n;
    // A condition with an OR of its own is wrapped, or the limit would bind to its last branch only.
    const QString condicion = cuerpo.mid(w + 5);
    if (BuscarPalabraExterior(condicion, QStringLiteral("OR")) >= 0)
      cuerpo = cuerpo.left(w + 5) + QStringLiteral(" (") + condicion.trimmed() + salto + QStringLiteral(") ");
  }
  return antes + QLatin1Char(' ') + cuerpo + salto + QLatin1Char(' ') + limite + QLatin1Char(' ') +
         colaGroup + QLatin1Char(' ') + colaOrder;
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
    // A literal the caller already hands to TO_DATE keeps its own format.
    if (FechaDeTexto(lit.contenido, f) && !DentroDeToDate(s, lit.inicio)) {
      r += QStringView(s).mid(copiado, lit.inicio - copiado);
      r += QStringLiteral("TO_DATE('") + f.toString(QStringLiteral("dd/MM/yyyy")) +
           QStringLiteral("','DD/MM/YYYY')");
      copiado = lit.fin;
    }
    desde = lit.fin;
  }
  r += QStringView(s).mid(copiado);
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
