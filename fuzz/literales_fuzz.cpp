// Operator text written into SQL: it must stay one literal, whatever it holds,
// in the statement the program builds and in what the client sends SQLite and
// PostgreSQL. Statements are read with a lexer of this target's own, from the
// engines' rules, so that a fault the program's lexer shares with the code that
// builds the statements is still seen.
#include <optional>
#include <vector>

#include "db/DB_Dll.h"
#include "db/Sentencias.h"
#include "db/TextoSql.h"
#include "fuzz/Entrada.h"
#include "lookup/FiltrosConsulta.h"
#include "lookup/TextosConsulta.h"
#include "platform/client/rewrite/EngineRewrite.h"

namespace {

enum class Lexico { SqlServer, Sqlite, Postgres };

bool LetraDeNombre(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

// The statement with every literal's body replaced by "?", and the literals'
// contents (quotes undone) in `literales`. Names in quotes or brackets and
// comments stay as they are. Empty when a literal, a quoted name or a comment
// does not end: the engine would refuse it or read it some other way.
std::optional<QString> Esqueleto(const QString& sql, Lexico lx, QStringList* literales = nullptr) {
  QString r;
  const int n = static_cast<int>(sql.size());
  auto en = [&](int i) { return i < n ? sql.at(i) : QChar(); };
  int i = 0;
  while (i < n) {
    const QChar c = sql.at(i);
    if (c == QLatin1Char('\'')) {
      // A prefix letter belongs to the literal: N'...' (national text, SQL Server and
      // PostgreSQL) and PostgreSQL's E'...', which reads backslash escapes; everywhere
      // else a backslash is a character.
      const QChar previa = i > 0 ? sql.at(i - 1).toUpper() : QChar();
      const bool prefijo = (previa == QLatin1Char('N') && lx != Lexico::Sqlite) ||
                           (previa == QLatin1Char('E') && lx == Lexico::Postgres);
      const bool conPrefijo = prefijo && (i < 2 || !LetraDeNombre(sql.at(i - 2)));
      const bool escapes = conPrefijo && previa == QLatin1Char('E');
      if (conPrefijo) r.chop(1);
      QString cuerpo;
      int j = i + 1;
      bool cerrado = false;
      while (j < n) {
        if (escapes && sql.at(j) == QLatin1Char('\\') && j + 1 < n) {
          cuerpo += sql.at(j + 1);
          j += 2;
        } else if (sql.at(j) == QLatin1Char('\'')) {
          if (en(j + 1) == QLatin1Char('\'')) {
            cuerpo += QLatin1Char('\'');
            j += 2;
          } else {
            cerrado = true;
            ++j;
            break;
          }
        } else {
          cuerpo += sql.at(j++);
        }
      }
      if (!cerrado) return std::nullopt;
      if (literales) *literales << cuerpo;
      r += QStringLiteral("'?'");
      i = j;
      continue;
    }
    // Quoted names: "x" everywhere, [x] on SQL Server and SQLite, `x` on SQLite.
    QChar cierre;
    if (c == QLatin1Char('"'))
      cierre = c;
    else if (c == QLatin1Char('[') && lx != Lexico::Postgres)
      cierre = QLatin1Char(']');
    else if (c == QLatin1Char('`') && lx == Lexico::Sqlite)
      cierre = c;
    if (!cierre.isNull()) {
      int j = i + 1;
      while (j < n && !(sql.at(j) == cierre && en(j + 1) != cierre)) j += sql.at(j) == cierre ? 2 : 1;
      if (j >= n) return std::nullopt;
      r += QStringView(sql).mid(i, j + 1 - i);
      i = j + 1;
      continue;
    }
    if (c == QLatin1Char('-') && en(i + 1) == QLatin1Char('-')) {
      int j = i;
      while (j < n && sql.at(j) != QLatin1Char('\n')) ++j;
      r += QStringView(sql).mid(i, j - i);
      i = j;
      continue;
    }
    if (c == QLatin1Char('/') && en(i + 1) == QLatin1Char('*')) {
      // Nested on SQL Server and PostgreSQL; SQLite ends at the first "*/" or at the end.
      int nivel = 1, j = i + 2;
      while (j < n && nivel > 0) {
        if (sql.at(j) == QLatin1Char('*') && en(j + 1) == QLatin1Char('/')) {
          --nivel;
          j += 2;
        } else if (lx != Lexico::Sqlite && sql.at(j) == QLatin1Char('/') && en(j + 1) == QLatin1Char('*')) {
          ++nivel;
          j += 2;
        } else {
          ++j;
        }
      }
      if (nivel > 0 && lx != Lexico::Sqlite) return std::nullopt;
      r += QStringView(sql).mid(i, j - i);
      i = j;
      continue;
    }
    r += c;
    ++i;
  }
  return r;
}

// `literal` is one quoted literal holding exactly `x`, to the program's lexer and to ours.

void UnLiteral(const QString& literal, const QString& x) {
  QStringList contenidos;
  EXIGIR(Esqueleto(literal, Lexico::SqlServer, &contenidos) == QStringLiteral("'?'") &&
             contenidos == QStringList{x},
         literal);
  LiteralSql l;
  EXIGIR(SiguienteLiteral(literal, 0, l) && l.inicio == 0 && l.fin == literal.size() && l.contenido == x,
         literal);
}

// Reads as `esperado` to `lx`, whatever the operator's text made of `sql`.
void MismoSql(const QString& sql, const QString& esperado, Lexico lx, const QString& detalle) {
  const auto a = Esqueleto(sql, lx);
  EXIGIR(a == esperado, detalle + QStringLiteral("\nreads as: ") +
                            a.value_or(QStringLiteral("(unterminated)")) + QStringLiteral("\nnot as:   ") +
                            esperado);
}

// Every statement the program builds from operator text, for that text.
QStringList Construidas(const QString& x) {
  QStringList r;
  for (auto modo : {filtros::Busqueda::Contiene, filtros::Busqueda::EmpiezaCon}) {
    const QString inicial =
        QStringLiteral(" SELECT TOP 1000 A, B FROM T WHERE (X = 1 OR Y = 'a') ORDER BY A");
    filtros::EstadoFiltro e{inicial, QString()};
    const QString una = filtros::FiltrarLista(inicial, QStringLiteral("A"), x, modo, e);
    e.SentenciaBase = una;
    r << una << filtros::FiltrarLista(una, QStringLiteral("B"), x, modo, e);
  }
  filtros::EstadoFiltro e{};
  const QString arbol =
      filtros::FiltrarArbol(QStringLiteral("SELECT C, Descripcion FROM F ORDER BY C"), x, e);
  e.SentenciaBase = arbol;
  r << arbol << filtros::FiltrarArbol(arbol, x, e);
  r << filtros::SentenciaFaltante(x, x, x, x);
  r << SentenciaExisteEnTabla(QStringLiteral("T"), x, QStringLiteral("C"), 8, QString());
  r << SentenciaExisteEnTablaST(QStringLiteral("T"), x, QStringLiteral("C"), 8, QString());
  r << SentenciaDatosTabla(QStringLiteral("T"), x, QStringLiteral("C"), 8, QString(), true);
  r << SentenciaDatosTabla(QStringLiteral("T"), x, QStringLiteral("C"), 8, QStringLiteral("Z = 1"), false);
  return r;
}

// The statements built from a harmless text, as each engine reads them: what every
// other text must give. A text ending in a blank is one of its own: PostgreSQL
// would compare it blank-sensitively, so the column beside it is trimmed there.
struct Neutra {
  QString sqlServer, mascara, sqlite, postgres;
};

const std::vector<Neutra>& Neutras(bool blancoAlFinal) {
  static const auto armar = [](const QString& texto) {
    std::vector<Neutra> v;
    for (const QString& s : Construidas(texto)) {
      const auto a = Esqueleto(s, Lexico::SqlServer);
      const auto b = Esqueleto(ado::sql::Rewrite(s, ado::Dialect::Sqlite), Lexico::Sqlite);
      const auto c = Esqueleto(ado::sql::Rewrite(s, ado::Dialect::Postgres), Lexico::Postgres);
      EXIGIR(a && b && c, s);
      v.push_back({*a, MascaraLiterales(s).remove(QChar(0x0001)), *b, *c});
    }
    return v;
  };
  static const std::vector<Neutra> sin = armar(QStringLiteral("z")), con = armar(QStringLiteral("z "));
  return blancoAlFinal ? con : sin;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString x = entrada::Texto(entrada::Bytes(datos, largo));
  UnLiteral(QLatin1Char('\'') + DuplicarApostrofes(x) + QLatin1Char('\''), x);
  UnLiteral(QLatin1Char('\'') + textos::Literal(x) + QLatin1Char('\''), x);
  UnLiteral(DB_Dll::Instancia().SQLValue(x, QStringLiteral("'")).toString(), x);

  // The statements read as the same SQL whatever the operator typed: as the program
  // writes them, and as the client rewrites them for SQLite and PostgreSQL.
  const QStringList conTexto = Construidas(x);
  for (int i = 0; i < conTexto.size(); ++i) {
    const Neutra& n = Neutras(x.endsWith(QLatin1Char(' '))).at(i);
    MismoSql(conTexto[i], n.sqlServer, Lexico::SqlServer, conTexto[i]);
    EXIGIR(MascaraLiterales(conTexto[i]).remove(QChar(0x0001)) == n.mascara, conTexto[i]);
    const QString sqlite = ado::sql::Rewrite(conTexto[i], ado::Dialect::Sqlite);
    MismoSql(sqlite, n.sqlite, Lexico::Sqlite, conTexto[i] + QStringLiteral("\n-> ") + sqlite);
    const QString postgres = ado::sql::Rewrite(conTexto[i], ado::Dialect::Postgres);
    MismoSql(postgres, n.postgres, Lexico::Postgres, conTexto[i] + QStringLiteral("\n-> ") + postgres);
  }
  return 0;
}
