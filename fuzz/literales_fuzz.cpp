// Operator text written into SQL: it must stay one literal, whatever it holds.
#include "db/DB_Dll.h"
#include "db/Sentencias.h"
#include "db/TextoSql.h"
#include "fuzz/Entrada.h"
#include "lookup/FiltrosConsulta.h"
#include "lookup/TextosConsulta.h"
#include "platform/client/rewrite/EngineRewrite.h"

namespace {

// The statement without the contents of its literals: what the engine reads as SQL.
QString Esqueleto(const QString& sql) { return MascaraLiterales(sql).remove(QChar(0x0001)); }

void UnLiteral(const QString& literal, const QString& x) {
  LiteralSql l;
  EXIGIR(SiguienteLiteral(literal, 0, l) && l.inicio == 0 && l.fin == literal.size() && l.contenido == x,
         literal);
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString x = entrada::Texto(entrada::Bytes(datos, largo));
  UnLiteral(QLatin1Char('\'') + DuplicarApostrofes(x) + QLatin1Char('\''), x);
  UnLiteral(QLatin1Char('\'') + textos::Literal(x) + QLatin1Char('\''), x);
  UnLiteral(DB_Dll::Instancia().SQLValue(x, QStringLiteral("'")).toString(), x);

  // The statements read as the same SQL whatever the operator typed.
  const QStringList conTexto = Construidas(x);
  const QStringList neutras = Construidas(QStringLiteral("z"));
  // The SQLite / PostgreSQL rewrite is checked only on request (MA_FUZZ_REESCRITURA=1).
  static const bool reescritura = qEnvironmentVariableIntValue("MA_FUZZ_REESCRITURA") == 1;
  for (int i = 0; i < conTexto.size(); ++i) {
    EXIGIR(Esqueleto(conTexto[i]) == Esqueleto(neutras[i]), conTexto[i]);
    if (!reescritura) continue;
    for (auto d : {ado::Dialect::Sqlite, ado::Dialect::Postgres})
      EXIGIR(Esqueleto(ado::sql::Rewrite(conTexto[i], d)) == Esqueleto(ado::sql::Rewrite(neutras[i], d)),
             conTexto[i] + QStringLiteral("\n-> ") + ado::sql::Rewrite(conTexto[i], d));
  }
  return 0;
}
