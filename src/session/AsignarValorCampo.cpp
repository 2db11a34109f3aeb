#include "session/AsignarValorCampo.h"

#include "db/DB_Dll.h"
#include "platform/services/Utilidades.h"
#include "session/ValorTecleado.h"

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
  } else if (db.ADOBoolean(tipo)) {
    // An emptied yes/no holds no answer; storing "yes" for it would change what nobody chose.
    campo.SetValue(Valor.trimmed().isEmpty() ? ado::Null() : ado::Value(EsVerdadero(Valor)));
  } else if (const TipoTecleado t = TipoTecleado::De(campo); t.clase != ClaseTecleada::Texto) {
    // Stored exactly as typed, or refused: never 0, Null or a rounded guess.
    const auto leido = LeerTecleado(Valor, t);
    if (!leido) throw ado::Failure(ado::err::WrongType, MensajeRechazo(Campo, Valor, t));
    campo.SetValue(leido->valor);
  } else {
    campo.SetValue(Valor);
  }
}
