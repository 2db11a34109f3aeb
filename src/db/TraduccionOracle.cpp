#include "db/TraduccionOracle.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#include "db/TextoSql.h"
#include "platform/core/Error.h"
#include "platform/services/FechaTecleada.h"

namespace {

bool EsDeIdentificador(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Position of the first word "top" followed by a blank (any) or a parenthesis, outside literals.
int PosicionTop(const QString& mascara) {
  int p = mascara.indexOf(QLatin1String("top"), 0, Qt::CaseInsensitive);
  while (p >= 0) {
    if ((p == 0 || !EsDeIdentificador(mascara[p - 1])) && p + 3 < mascara.size() &&
        (mascara[p + 3].isSpace() || mascara[p + 3] == QLatin1Char('(')))
      return p;
    p = mascara.indexOf(QLatin1String("top"), p + 1, Qt::CaseInsensitive);
  }
  return -1;
}

// The parenthesis that closes the one at `abre`, outside literals; -1 when none.
int Cierre(const QString& mascara, int abre) {
  int nivel = 0;
  for (int i = abre; i < mascara.size(); ++i) {
    if (mascara[i] == QLatin1Char('(')) ++nivel;
    if (mascara[i] == QLatin1Char(')') && --nivel == 0) return i;
  }
  return -1;
}

// The parenthesis that encloses `p`, outside literals; -1 at the statement's own level.
int Apertura(const QString& mascara, int p) {
  QList<int> abiertas;
  for (int i = 0; i < p; ++i) {
    if (mascara[i] == QLatin1Char('(')) abiertas << i;
    if (mascara[i] == QLatin1Char(')') && !abiertas.isEmpty()) abiertas.removeLast();
  }
  return abiertas.isEmpty() ? -1 : abiertas.last();
}

bool EsPalabraEn(const QString& mascara, int i, QLatin1String palabra) {
  return QStringView(mascara).mid(i, palabra.size()).compare(palabra, Qt::CaseInsensitive) == 0 &&
         (i + palabra.size() >= mascara.size() || !EsDeIdentificador(mascara[i + palabra.size()]));
}

[[noreturn]] void SinTraduccion(const QString& sentencia) {
  throw ado::Failure(ado::err::CommandText,
                     QStringLiteral("La sentencia no se puede traducir a Oracle: TOP debe ir seguido de un "
                                    "número o de una expresión entre paréntesis. ") +
                         sentencia.trimmed(),
                     QStringLiteral("ORACLE_Dicc"));
}

// Rule 1 on the TOP at `t`, at the statement's own level of `s`.
QString UnTop(const QString& s, int t) {
  const QString mascara = MascaraLiterales(s);
  // TOP's operand is a token of the statement: a number, or an expression in parentheses.
  int inicio = t + 3;
  while (inicio < s.size() && s.at(inicio).isSpace()) ++inicio;
  int fin = inicio;
  if (fin < s.size() && mascara[fin] >= QLatin1Char('0') && mascara[fin] <= QLatin1Char('9')) {
    while (fin < s.size() && mascara[fin] >= QLatin1Char('0') && mascara[fin] <= QLatin1Char('9')) ++fin;
    if (fin < s.size() && (EsDeIdentificador(mascara[fin]) || mascara[fin] == QLatin1Char('.') ||
                           mascara[fin] == QLatin1Char('\'')))
      SinTraduccion(s);
  } else if (fin < s.size() && mascara[fin] == QLatin1Char('(')) {
    fin = Cierre(mascara, fin) + 1;
    if (fin == 0) SinTraduccion(s);
  } else {
    SinTraduccion(s);
  }
  const QString n = s.mid(inicio, fin - inicio);
  int despues = fin;
  while (despues < s.size() && s.at(despues).isSpace()) ++despues;
  // ROWNUM counts rows, not a share of them nor the ties of the last one.
  if (EsPalabraEn(mascara, despues, QLatin1String("PERCENT")) ||
      EsPalabraEn(mascara, despues, QLatin1String("WITH")))
    SinTraduccion(s);

  const QString antes = s.left(t);
  QString cuerpo = s.mid(fin);
  if (!cuerpo.isEmpty() && cuerpo.at(0).isSpace()) cuerpo.remove(0, 1);
  while (!cuerpo.isEmpty() && cuerpo.back().isSpace()) cuerpo.chop(1);
  // A "--" comment at the end of the body must not swallow what is put after it.
  const bool comentario = BuscarFueraDeLiterales(cuerpo, QStringLiteral("--")) >= 0;
  const QString salto = comentario ? QStringLiteral("\n") : QString();

  // ROWNUM is numbered before the rows are sorted, grouped or made distinct: a
  // statement that does any of that is limited from outside, in a query block of its own.
  static const QRegularExpression palabraSelect(QStringLiteral("\\bSELECT\\b"),
                                                QRegularExpression::CaseInsensitiveOption);
  const int select = mascara.left(t).lastIndexOf(palabraSelect);
  const bool ordena = BuscarPalabraExterior(s, QStringLiteral("GROUP BY"), fin) >= 0 ||
                      BuscarPalabraExterior(s, QStringLiteral("ORDER BY"), fin) >= 0 ||
                      BuscarPalabraExterior(antes, QStringLiteral("DISTINCT"), std::max(select, 0)) >= 0;
  if (select >= 0 && ordena)
    return antes.left(select) + QStringLiteral("SELECT * FROM (") + antes.mid(select) + cuerpo + salto +
           QStringLiteral(") WHERE ROWNUM <= ") + n;

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
  return antes + QLatin1Char(' ') + cuerpo + salto + QLatin1Char(' ') + limite + QStringLiteral("  ");
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
  QString r = s;
  // Each round takes one TOP away, the statement's own or a subquery's.
  for (int t = PosicionTop(MascaraLiterales(r)); t >= 0; t = PosicionTop(MascaraLiterales(r))) {
    const QString mascara = MascaraLiterales(r);
    const int abre = Apertura(mascara, t);
    if (abre < 0) {
      r = UnTop(r, t);
      continue;
    }
    int cierra = Cierre(mascara, abre);
    if (cierra < 0) cierra = static_cast<int>(r.size());
    r = r.left(abre + 1) + UnTop(r.mid(abre + 1, cierra - abre - 1), t - abre - 1) + r.mid(cierra);
  }
  return r;
}

QString ReglaFechas(const QString& s) {
  QString r;
  int copiado = 0;
  LiteralSql lit;
  int desde = 0;
  while (SiguienteLiteral(s, desde, lit)) {
    QDate f;
    // A literal the caller already hands to TO_DATE keeps its own format.
    // N'...' is the same literal; another letter glued to it (X'...') makes something else.
    int inicio = lit.inicio;
    if (inicio > 0 && EsDeIdentificador(s.at(inicio - 1))) {
      const bool prefijoN = s.at(inicio - 1).toUpper() == QLatin1Char('N') &&
                            (inicio == 1 || !EsDeIdentificador(s.at(inicio - 2)));
      inicio = prefijoN ? inicio - 1 : -1;
    }
    if (inicio >= copiado && FechaDeTexto(lit.contenido, f) && !DentroDeToDate(s, inicio)) {
      r += QStringView(s).mid(copiado, inicio - copiado);
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
  int w = BuscarFueraDeLiterales(s, QStringLiteral("WHERE "));
  // A join's condition compares too, and may come before the first WHERE.
  static const QRegularExpression on(QStringLiteral("\\bON\\b"), QRegularExpression::CaseInsensitiveOption);
  const int o = static_cast<int>(MascaraLiterales(s).indexOf(on));
  if (o >= 0 && (w < 0 || o < w)) w = o;
  if (w < 0) return s;
  QString r = s;
  // Oracle holds '' as NULL: a comparison with it is never true, whichever way it goes.
  for (const char* distinto : {"<> ''", "<>''", "!= ''", "!=''"})
    r = ReemplazarFueraDeLiterales(r, QString::fromLatin1(distinto), QStringLiteral(" IS NOT NULL "), w);
  r = ReemplazarFueraDeLiterales(r, QStringLiteral("= ''"), QStringLiteral(" IS NULL "), w);
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

namespace {

bool EsTextoDeFuncion(const QString& nombre) {
  static const QStringList kTexto{
      QStringLiteral("LTRIM"),     QStringLiteral("RTRIM"),     QStringLiteral("TRIM"),
      QStringLiteral("UPPER"),     QStringLiteral("LOWER"),     QStringLiteral("SUBSTR"),
      QStringLiteral("SUBSTRING"), QStringLiteral("REPLACE"),   QStringLiteral("LEFT"),
      QStringLiteral("RIGHT"),     QStringLiteral("TO_CHAR"),   QStringLiteral("CHAR"),
      QStringLiteral("SPACE"),     QStringLiteral("REPLICATE"), QStringLiteral("LPAD"),
      QStringLiteral("RPAD"),      QStringLiteral("CONCAT")};
  return kTexto.contains(nombre, Qt::CaseInsensitive);
}

// A call whose result is text: a text function, or a CONVERT or CAST to a text type.
bool EsLlamadaDeTexto(const QString& nombre, const QString& m, int abre) {
  if (EsTextoDeFuncion(nombre)) return true;
  static const QRegularExpression convertir(QStringLiteral("^\\(\\s*N?(VAR)?CHAR\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression cast(QStringLiteral("\\bAS\\s+N?(VAR)?CHAR\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
  const int cierra = Cierre(m, abre);
  const QString llamada = m.mid(abre, cierra < 0 ? -1 : cierra - abre + 1);
  if (nombre.compare(QLatin1String("CONVERT"), Qt::CaseInsensitive) == 0)
    return convertir.match(llamada).hasMatch();
  return nombre.compare(QLatin1String("CAST"), Qt::CaseInsensitive) == 0 && cast.match(llamada).hasMatch();
}

// Words that end an operand of "+" (and the expression it is in).
bool EsPalabraLimite(const QString& palabra) {
  static const QStringList kLimites{
      QStringLiteral("SELECT"), QStringLiteral("FROM"), QStringLiteral("WHERE"),   QStringLiteral("AND"),
      QStringLiteral("OR"),     QStringLiteral("NOT"),  QStringLiteral("ON"),      QStringLiteral("AS"),
      QStringLiteral("WHEN"),   QStringLiteral("THEN"), QStringLiteral("ELSE"),    QStringLiteral("END"),
      QStringLiteral("CASE"),   QStringLiteral("SET"),  QStringLiteral("VALUES"),  QStringLiteral("IN"),
      QStringLiteral("LIKE"),   QStringLiteral("IS"),   QStringLiteral("BETWEEN"), QStringLiteral("ORDER"),
      QStringLiteral("GROUP"),  QStringLiteral("BY"),   QStringLiteral("HAVING"),  QStringLiteral("JOIN"),
      QStringLiteral("UNION"),  QStringLiteral("INTO"), QStringLiteral("EXISTS"),  QStringLiteral("ESCAPE")};
  return kLimites.contains(palabra, Qt::CaseInsensitive);
}

// Marks, in m[desde, hasta) (one level of parentheses), the "+" that join texts:
// those of an expression with a literal, a text function's call or a text in
// parentheses among its operands. True when the whole range is such a text.
bool Concatenaciones(const QString& m, int desde, int hasta, QList<int>& cambiar) {
  QList<int> mas;
  bool texto = false;
  bool todoElRango = true;
  auto cerrar = [&] {
    if (texto) cambiar << mas;
    mas.clear();
    texto = false;
  };
  for (int i = desde; i < hasta;) {
    const QChar c = m[i];
    if (c == QLatin1Char('\'')) {
      int j = i + 1;
      while (j < hasta && m[j] != QLatin1Char('\'')) ++j;
      texto = true;
      i = j + 1;
    } else if (c == QLatin1Char('(')) {
      int j = Cierre(m, i);
      if (j < 0 || j > hasta) j = hasta;
      texto = Concatenaciones(m, i + 1, j, cambiar) || texto;
      i = j + 1;
    } else if (c == QLatin1Char('+')) {
      mas << i;
      ++i;
    } else if (EsDeIdentificador(c)) {
      int j = i;
      while (j < hasta && (EsDeIdentificador(m[j]) || m[j] == QLatin1Char('.'))) ++j;
      const QString palabra = m.mid(i, j - i);
      int k = j;
      while (k < hasta && m[k].isSpace()) ++k;
      if (EsPalabraLimite(palabra)) {
        cerrar();
        todoElRango = false;
      } else if (k < hasta && m[k] == QLatin1Char('(')) {
        // A call: text or not by its function, whatever its arguments are.
        int f = Cierre(m, k);
        if (f < 0 || f > hasta) f = hasta;
        Concatenaciones(m, k + 1, f, cambiar);
        texto = EsLlamadaDeTexto(palabra, m, k) || texto;
        j = f + 1;
      }
      i = j;
    } else if (c == QLatin1Char(',') || c == QLatin1Char('=') || c == QLatin1Char('<') ||
               c == QLatin1Char('>') || c == QLatin1Char('!') || c == QLatin1Char(';') ||
               c == QLatin1Char('|')) {
      cerrar();
      todoElRango = false;
      ++i;
    } else {
      ++i;
    }
  }
  const bool resultado = todoElRango && texto;
  cerrar();
  return resultado;
}

// The arguments of the call whose "(" is at `abre`, split at its own commas; -1 in `cierra` when unclosed.
QStringList Argumentos(const QString& s, const QString& m, int abre, int& cierra) {
  cierra = Cierre(m, abre);
  QStringList args;
  if (cierra < 0) return args;
  int nivel = 0;
  int inicio = abre + 1;
  for (int i = abre + 1; i < cierra; ++i) {
    if (m[i] == QLatin1Char('(')) ++nivel;
    if (m[i] == QLatin1Char(')')) --nivel;
    if (m[i] == QLatin1Char(',') && nivel == 0) {
      args << s.mid(inicio, i - inicio).trimmed();
      inicio = i + 1;
    }
  }
  args << s.mid(inicio, cierra - inicio).trimmed();
  return args;
}

}  // namespace

QString ReglaConcatenacion(const QString& s) {
  const QString m = MascaraLiterales(s);
  QList<int> cambiar;
  Concatenaciones(m, 0, static_cast<int>(m.size()), cambiar);
  std::sort(cambiar.begin(), cambiar.end());
  QString r = s;
  for (auto p = cambiar.crbegin(); p != cambiar.crend(); ++p) r.replace(*p, 1, QStringLiteral("||"));
  return r;
}

QString ReglaIzquierdaDerecha(const QString& s) {
  static const QRegularExpression llamada(QStringLiteral("\\b(LEFT|RIGHT)\\s*\\("),
                                          QRegularExpression::CaseInsensitiveOption);
  QList<QRegularExpressionMatch> llamadas;
  for (auto it = llamada.globalMatch(MascaraLiterales(s)); it.hasNext();) llamadas.prepend(it.next());
  // The last call first: one inside another's arguments is already translated when the
  // outer one is, and the text before it has not moved.
  QString r = s;
  for (const auto& c : llamadas) {
    int cierra = -1;
    const QStringList a = Argumentos(r, MascaraLiterales(r), static_cast<int>(c.capturedEnd()) - 1, cierra);
    if (cierra < 0 || a.size() != 2) continue;
    const bool izquierda = c.captured(1).compare(QLatin1String("LEFT"), Qt::CaseInsensitive) == 0;
    // RIGHT of a text shorter than n is all of it, where SUBSTR(x, -n) would give NULL.
    const QString nueva =
        izquierda ? QStringLiteral("SUBSTR(%1, 1, %2)").arg(a[0], a[1])
                  : QStringLiteral("SUBSTR(%1, GREATEST(LENGTH(%1) - (%2) + 1, 1))").arg(a[0], a[1]);
    r = r.left(c.capturedStart()) + nueva + r.mid(cierra + 1);
  }
  return r;
}

namespace {

// Every match of `patron` outside the literals becomes `por`, from the last one back.
QString ReemplazarFueraDeLiterales(const QString& s, const QRegularExpression& patron, const QString& por) {
  const QString m = MascaraLiterales(s);
  QString r = s;
  QList<QRegularExpressionMatch> vistas;
  for (auto it = patron.globalMatch(m); it.hasNext();) vistas.prepend(it.next());
  for (const auto& v : vistas) r.replace(v.capturedStart(), v.capturedLength(), por);
  return r;
}

}  // namespace

QString ReglaLen(const QString& s) {
  // After any character that cannot be part of a name, not only a blank: "(LEN(x))" too.
  static const QRegularExpression len(QStringLiteral("(?<![\\w])LEN {0,4}\\("),
                                      QRegularExpression::CaseInsensitiveOption);
  return ReemplazarFueraDeLiterales(s, len, QStringLiteral("LENGTH("));
}

QString ReglaFechaActual(const QString& s) {
  static const QRegularExpression ahora(QStringLiteral("\\bGETDATE\\s*\\(\\s*\\)"),
                                        QRegularExpression::CaseInsensitiveOption);
  return ReemplazarFueraDeLiterales(s, ahora, QStringLiteral("SYSDATE"));
}

QString TraducirSentenciaOracle(const QString& sentencia, int palabras) {
  if (palabras <= 1)
    return sentencia.toUpper() == QLatin1String("LEN") ? QStringLiteral("LENGTH") : sentencia;
  return TraducirAOracle(sentencia);
}

QString TraducirAOracle(const QString& sentencia) {
  // Beyond the suite's rules, what this program writes that Oracle reads otherwise:
  // GETDATE, LEFT and RIGHT around TOP's rule (what moves the statement's parts),
  // before the rest, so that they see the parentheses that will be sent; "+" last,
  // when every text the others made is there.
  QString s = ReglaIzquierdaDerecha(ReglaTopARownum(ReglaFechaActual(sentencia)));
  s = ReglaLen(s);
  s = Reemplazos(s, {{"[", "\""}, {"]", "\""}});
  s = ReglaFechas(s);
  s = Reemplazos(s, {{"Charindex", "InStr"}});
  s = Reemplazos(s, {{"CONVERT(NVARCHAR,", "TO_CHAR("}, {"CONVERT(INT,", "TO_NUMBER("}});
  s = ReglaVacioANulo(s);
  s = ReglaEstilo103(s);
  s = Reemplazos(s, {{"SUBSTRING(", "SUBSTR("}});
  s = Reemplazos(s, {{"ISNULL(", "NVL("}});
  return ReglaConcatenacion(s);
}
