#include "db/DB_Dll.h"
#include "db/TextoSql.h"

namespace {

struct Sinonimo {
  const char* tabla;
  const char* restringida;
  bool conLlave;  // also after an opening brace (context F)
};

// Tables a user who is not an administrator reaches through restricted synonyms.
constexpr Sinonimo kSinonimos[] = {
    {"MA_CUENTAS", "SS_MA_CUENTAS", true},
    {"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO", false},
    {"MV_ASIENTOS", "SS_MV_ASIENTOS", false},
    {"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS", false},
    {"V_TA_CAJAS", "SS_V_TA_CAJAS", false},
    {"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO", false},
    {"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO", false},
};

// The marker pins a table reference; inside a literal it is text someone typed and stays.
QString QuitarMarcaAdmin(const QString& s) {
  return ReemplazarFueraDeLiterales(s, QStringLiteral("@Admin_"), QString());
}

}  // namespace

QString DB_Dll::SS_TSinonimos(const QString& SQL) const {
  if (gEsAdmin) return QuitarMarcaAdmin(SQL);
  QString s = SQL;
  for (const Sinonimo& x : kSinonimos) {
    const QString t = QString::fromLatin1(x.tabla);
    const QString r = QString::fromLatin1(x.restringida);
    // Contexts A to F: the characters around the name stay as they are.
    std::vector<std::pair<QChar, QChar>> contextos{
        {u' ', u' '}, {u'(', u' '}, {u' ', u'.'}, {u'(', u'.'}, {u',', u'.'}};
    if (x.conLlave) contextos.push_back({u'{', u'.'});
    for (const auto& [antes, despues] : contextos)
      s = ReemplazarFueraDeLiterales(s, antes + t + despues, antes + r + despues);
    if (x.conLlave)
      s = ReemplazarFueraDeLiterales(s, QStringLiteral("@Admin_MA_CUENTAS"), QStringLiteral("MA_CUENTAS"));
  }
  return QuitarMarcaAdmin(s);
}
