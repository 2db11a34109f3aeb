#include "session/AsignarValorCampo.h"

#include <QDateTime>
#include <QRegularExpression>

#include "db/DB_Dll.h"
#include "db/TraduccionOracle.h"
#include "platform/services/Utilidades.h"

namespace {

// A date typed day first (or year first), optionally followed by a time.
ado::Value FechaTecleada(const QString& texto) {
  static const QRegularExpression conHora(
      QStringLiteral("^\\s*(\\S+)\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*$"));
  QDate fecha;
  if (FechaDeTexto(texto, fecha)) return fecha;
  const QRegularExpressionMatch m = conHora.match(texto);
  if (!m.hasMatch() || !FechaDeTexto(m.captured(1), fecha)) return ado::Null();
  const QTime hora(m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
  if (!hora.isValid()) return ado::Null();
  return QDateTime(fecha, hora);
}

}  // namespace

bool EsVerdadero(const QString& Texto) {
  const QString t = Texto.toUpper();
  return !(t == QLatin1String("FALSE") || t == QLatin1String("FALSO") || t == QLatin1String("0") ||
           t == QLatin1String("NO") || t == QLatin1String("N"));
}

void AsignarValorCampo(ado::Recordset& Recordset, QString& Campo, QString& Valor) {
  Campo.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
  DB_Dll& db = DB_Dll::Instancia();
  Utilidades& util = Utilidades::Compartido();
  ado::Field& campo = Recordset.Fields(Campo);
  const int tipo = campo.Type();
  if (db.ADOText(tipo)) {
    // Short text fields hold codes, right-aligned as the suite stores them.
    const long largo = campo.DefinedSize();
    const QString texto = largo > 29 ? Valor.trimmed() : util.AlinearDerecha(Valor, static_cast<int>(largo));
    campo.SetValue(texto.trimmed().isEmpty() ? ado::Null() : ado::Value(texto));
  } else if (db.ADONumeric(tipo)) {
    campo.SetValue(db.SQLValue(Valor, QStringLiteral("@")));
  } else if (db.ADOBoolean(tipo)) {
    campo.SetValue(EsVerdadero(Valor));
  } else if (db.ADOCurrency(tipo)) {
    campo.SetValue(db.SQLValue(util.ValorNumerico(Valor), QStringLiteral("@")));
  } else if (db.adodate(tipo)) {
    campo.SetValue(FechaTecleada(Valor));
  } else {
    campo.SetValue(Valor);
  }
}
