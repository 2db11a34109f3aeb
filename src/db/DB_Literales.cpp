#include <algorithm>
#include <initializer_list>

#include "db/DB_Dll.h"
#include "db/NumeroSql.h"
#include "db/TextoSql.h"
#include "platform/services/Utilidades.h"

namespace {

bool EsDeLaFamilia(const ado::Value& Qtype, std::initializer_list<int> codigos) {
  bool ok = false;
  const qlonglong codigo = Qtype.toLongLong(&ok);
  return ok && std::find(codigos.begin(), codigos.end(), codigo) != codigos.end();
}

}  // namespace

bool DB_Dll::adodate(const ado::Value& Qtype) const {
  return EsDeLaFamilia(Qtype, {ado::adDate, ado::adDBDate, 137, ado::adDBTime, ado::adDBTimeStamp, 64});
}

bool DB_Dll::ADOText(const ado::Value& Qtype) const {
  return EsDeLaFamilia(Qtype, {ado::adBSTR, ado::adLongVarChar, ado::adLongVarWChar, ado::adVarChar,
                               ado::adVarWChar, ado::adWChar});
}

bool DB_Dll::ADONumeric(const ado::Value& Qtype) const {
  return EsDeLaFamilia(Qtype, {ado::adBigInt, ado::adDecimal, ado::adDouble, ado::adInteger, ado::adNumeric,
                               ado::adSingle, ado::adSmallInt, ado::adTinyInt, ado::adUnsignedBigInt,
                               ado::adUnsignedInt, ado::adUnsignedSmallInt, ado::adUnsignedTinyInt});
}

bool DB_Dll::ADOCurrency(const ado::Value& Qtype) const { return EsDeLaFamilia(Qtype, {ado::adCurrency}); }

bool DB_Dll::ADOBoolean(const ado::Value& Qtype) const { return EsDeLaFamilia(Qtype, {ado::adBoolean}); }

ado::Value DB_Dll::SQLValue(ado::Value Valor, const QString& Tipo) {
  const bool numero = Tipo == QLatin1String("@");
  const bool texto = Tipo == QLatin1String("'");
  // An omitted value is no typed text: as a number it is 0, as Null is.
  if (numero && ado::IsEmpty(Valor)) return QStringLiteral("0");
  if (numero && !ado::IsNull(Valor)) {
    // A number is written as it is; only a text is read, as the operator typed it.
    if (Valor.typeId() == QMetaType::Double || Valor.typeId() == QMetaType::Float)
      Valor = NumeroSql(Valor.toDouble());
    else if (!ado::IsNumber(Valor))
      Valor = NumeroSql(Servicios().ValorNumerico(Valor.toString()));
  }
  if (ado::IsNull(Valor)) return numero ? QStringLiteral("0") : QStringLiteral("NULL");
  // An apostrophe inside the text must neither end the literal nor change the statement.
  if (texto) return QLatin1Char('\'') + DuplicarApostrofes(Valor.toString()) + QLatin1Char('\'');
  return Valor.toString();
}

QString DB_Dll::stSTF(QString& rsName, short rnPart) {
  const int d1 = rsName.indexOf(QLatin1Char('.'));
  const int d2 = d1 < 0 ? -1 : rsName.indexOf(QLatin1Char('.'), d1 + 1);
  if (d2 < 0) {
    if (rnPart != 0) return rsName.mid(d1 + 1);
    return d1 < 0 ? rsName : rsName.left(d1);
  }
  return StripOwner(rsName);
}

QString DB_Dll::AddBrackets(const QString& rObjName) const {
  if (!rObjName.startsWith(QLatin1Char('[')) && rObjName.contains(QLatin1Char(' ')))
    return QLatin1Char('[') + rObjName + QLatin1Char(']');
  return rObjName;
}

QString DB_Dll::StripBrackets(const QString& rsObjName) const {
  if (!rsObjName.startsWith(QLatin1Char('['))) return rsObjName;
  return rsObjName.mid(1, std::max<qsizetype>(0, rsObjName.size() - 2));
}

QString DB_Dll::StripOwner(QString& rsTblName) const {
  const int punto = rsTblName.indexOf(QLatin1Char('.'));
  if (punto >= 0) rsTblName = rsTblName.mid(punto + 1);
  return rsTblName;
}

QString DB_Dll::StripFileName(const QString& rsFileName) const {
  // Paths of this system use "/", the suite's stored paths "\": either ends the folder.
  const int barra =
      std::max(rsFileName.lastIndexOf(QLatin1Char('\\')), rsFileName.lastIndexOf(QLatin1Char('/')));
  return barra < 0 ? QString() : rsFileName.left(barra);
}
