#include "db/Sentencias.h"

#include <QRegularExpression>

#include "db/NumeroSql.h"
#include "db/TextoSql.h"

namespace {

const QString kTop = QStringLiteral("SELECT TOP 1 * FROM ");

QString Sin(const QString& s, QChar c) {
  QString r = s;
  return r.remove(c);
}

// The value as the comparison's right-hand side, for the forms that do not quote it.
// A value looked up in a number column: the number it is, or NULL, which equals
// nothing (read as its leading digits, "12abc" would find company 12, and "abc" 0).
QString NumeroBuscado(const QString& ValorBuscado) {
  static const QRegularExpression numero(QStringLiteral("^\\s*[+-]?(\\d+(\\.\\d*)?|\\.\\d+)\\s*$"));
  return numero.match(ValorBuscado).hasMatch() ? NumeroSql(NumeroInicial(ValorBuscado))
                                               : QStringLiteral("NULL");
}

QString ValorSinComillas(FormaValor forma, const QString& ValorBuscado) {
  switch (forma) {
    case FormaValor::Fecha:
      return ValorBuscado.trimmed() + QLatin1Char(' ');
    case FormaValor::Numero:
      return NumeroBuscado(ValorBuscado);
    default:
      return ValorBuscado;
  }
}

// A condition that brings its own WHERE, first or after a blank, gets no second one.
QString CondicionLibre(const QString& inicio, const QString& Tabla, const QString& Condicion) {
  static const QRegularExpression propia(QStringLiteral("^\\s*WHERE\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
  const QString enlace =
      propia.match(Condicion).hasMatch() || BuscarFueraDeLiterales(Condicion, QStringLiteral(" WHERE ")) >= 0
          ? QStringLiteral(" ")
          : QStringLiteral(" WHERE ");
  return inicio + Tabla + enlace + Condicion;
}

}  // namespace

FormaValor FormaDeTipo(const ado::Value& TipoDato) {
  if (ado::IsEmpty(TipoDato) || ado::IsNull(TipoDato)) return FormaValor::Literal;
  bool ok = false;
  const int codigo = TipoDato.toInt(&ok);
  if (!ok) return FormaValor::Literal;
  switch (codigo) {
    case 8:
      return FormaValor::Texto;
    case 7:
      return FormaValor::Fecha;
    case 3:
    case 5:
    case 4:
      return FormaValor::Numero;
    default:
      return FormaValor::Literal;
  }
}

QString SentenciaExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                               const ado::Value& TipoDato, const QString& Condicion) {
  if (!Condicion.isEmpty()) return CondicionLibre(kTop, Tabla, Condicion);
  const FormaValor forma = FormaDeTipo(TipoDato);
  if (forma == FormaValor::Texto)
    return QStringLiteral("SELECT TOP 1  * FROM ") + Tabla + QStringLiteral(" WHERE LTRIM(RTRIM(") + Campo +
           QStringLiteral(")) ='") + DuplicarApostrofes(ValorBuscado.trimmed()) + QLatin1Char('\'');
  return kTop + Tabla + QStringLiteral(" WHERE ") + Campo + QStringLiteral(" = ") +
         ValorSinComillas(forma, ValorBuscado);
}

QString SentenciaExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                                 const ado::Value& TipoDato, const QString& Condicion) {
  const QString inicio = QStringLiteral("SELECT * FROM ");
  if (!Condicion.isEmpty()) return CondicionLibre(inicio, Tabla, Condicion);
  const FormaValor forma = FormaDeTipo(TipoDato);
  if (forma == FormaValor::Texto)
    return inicio + Tabla + QStringLiteral(" WHERE ") + Campo + QStringLiteral(" ='") +
           DuplicarApostrofes(ValorBuscado) + QLatin1Char('\'');
  return inicio + Tabla + QStringLiteral(" WHERE ") + Campo + QStringLiteral(" = ") +
         ValorSinComillas(forma, ValorBuscado);
}

QString SentenciaDatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                            const ado::Value& TipoDato, const QString& Condicion, bool UsaTrim) {
  const QString y = Sin(Condicion, QLatin1Char(' ')).isEmpty() ? QString() : QStringLiteral(" AND ");
  QString clausula;
  switch (FormaDeTipo(TipoDato)) {
    case FormaValor::Texto:
      clausula = (UsaTrim ? QStringLiteral(" WHERE LTRIM(RTRIM(") + Campo + QStringLiteral(")) ='")
                          : QStringLiteral(" WHERE ") + Campo + QStringLiteral(" ='")) +
                 DuplicarApostrofes(ValorBuscado.trimmed()) + QStringLiteral("' ");
      break;
    case FormaValor::Fecha:
      // A quoted date, which every engine reads (the "#" form of older programs none does).
      clausula = QStringLiteral(" WHERE ") + Campo + QStringLiteral(" = '") +
                 DuplicarApostrofes(ValorBuscado.trimmed()) + QStringLiteral("' ");
      break;
    case FormaValor::Numero:
      clausula = QStringLiteral(" WHERE ") + Campo + QStringLiteral(" = ") + NumeroBuscado(ValorBuscado);
      break;
    case FormaValor::Literal:
      clausula = QStringLiteral(" WHERE ") + Campo + QStringLiteral(" = ") + ValorBuscado;
  }
  return kTop + Tabla + clausula + y + Condicion;
}

QString SentenciaBuscaExtremo(Extremo extremo, const QString& QueTabla, const QString& QueCampo,
                              const std::optional<QString>& Condicion) {
  QString s = extremo == Extremo::Maximo
                  ? QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla
                  : QStringLiteral("SELECT MIN(") + QueCampo + QStringLiteral(") AS MENOR FROM ") + QueTabla;
  // Even an empty condition adds " WHERE ", and the failure reaches the caller;
  // nothing in this program calls the maximum or minimum.
  if (Condicion) s += QStringLiteral(" WHERE ") + Condicion->trimmed();
  return s;
}

QString SentenciaBuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo,
                                   const QString& Condicion) {
  QString s = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
  if (!Condicion.trimmed().isEmpty()) s += QStringLiteral(" WHERE ") + Condicion;
  return s;
}

QString SentenciaParaEjecutar(const QString& sql, const std::function<QString(const QString&)>& sinonimos) {
  // Only the statement's own words count: a literal is data, whatever it says.
  auto tiene = [&](const char* t) { return BuscarFueraDeLiterales(sql, QString::fromLatin1(t)) >= 0; };
  if (tiene("DROP") && tiene("CREATE") && !tiene("DELETE") && !tiene("@ADMIN_")) return sinonimos(sql);
  return ReemplazarFueraDeLiterales(sql, QStringLiteral("@Admin_"), QString());
}

QString SentenciaAddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                          const ado::Value& ValorDefault) {
  QString s = QStringLiteral("ALTER TABLE dbo.") + Tabla + QStringLiteral(" ADD ") + Campo +
              QLatin1Char(' ') + Tipo +
              (PermiteNulos ? QStringLiteral(" Null ") : QStringLiteral(" Not Null "));
  if (!ado::IsEmpty(ValorDefault))
    s += QStringLiteral(" CONSTRAINT DF_") + Tabla.trimmed() + QLatin1Char('_') + Campo.trimmed() +
         QStringLiteral(" DEFAULT (") + ValorDefault.toString() + QLatin1Char(')');
  return s;
}
