#include "lookup/TextosConsulta.h"

#include <QLocale>
#include <cmath>

#include "platform/services/Utilidades.h"

namespace textos {

QString DeValor(const ado::Value& v) {
  if (ado::IsEmpty(v) || ado::IsNull(v)) return QString();
  switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
      // Never an exponent: the cell's text is what the lookup hands back.
      const double d = v.toDouble();
      const QString t = QString::number(d, 'g', 15);
      return t.contains(QLatin1Char('e')) ? QString::number(d, 'f', QLocale::FloatingPointShortest) : t;
    }
    case QMetaType::QDate:
      return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime: {
      const QDateTime t = v.toDateTime();
      if (t.time() == QTime(0, 0)) return t.date().toString(QStringLiteral("dd/MM/yyyy"));
      return t.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    case QMetaType::Bool:
      return v.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    default:
      return v.toString();
  }
}

double Numero(const QString& texto) {
  QString t;
  t.reserve(texto.size());
  for (QChar c : texto)
    if (c != QLatin1Char(' ') && c != QLatin1Char('\t')) t.append(c);
  int i = 0;
  if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) ++i;
  bool punto = false;
  int digitos = 0;
  for (; i < t.size(); ++i) {
    if (t[i].isDigit() && t[i].unicode() < 128) {
      ++digitos;
    } else if (t[i] == QLatin1Char('.') && !punto) {
      punto = true;
    } else {
      break;
    }
  }
  if (digitos == 0) return 0;
  return t.left(i).toDouble();
}

double Cantidad(const QString& texto) { return Utilidades::Compartido().ValorPuntoOComa(texto); }

QString FormatoCantidad(double valor, int decimales) {
  return QString::number(valor, 'f', decimales).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

QString FormatoCantidad(const QString& texto, int decimales) {
  QString t = texto.trimmed();
  if (t.count(QLatin1Char(',')) == 1 && !t.contains(QLatin1Char('.')))
    t.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  const double d = t.toDouble(&ok);
  if (!ok) return texto;
  return FormatoCantidad(d, decimales);
}

QString Literal(const QString& texto) {
  QString t = texto;
  return t.replace(QLatin1Char('\''), QLatin1String("''"));
}

std::optional<quint32> Color(const ado::Value& v) {
  if (ado::IsEmpty(v) || ado::IsNull(v)) return std::nullopt;
  const QString t = v.toString().trimmed();
  if (t.isEmpty()) return std::nullopt;
  if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
    QString h = t.mid(2);
    if (h.endsWith(QLatin1Char('&'))) h.chop(1);
    bool ok = false;
    const quint32 c = h.toUInt(&ok, 16);
    return ok ? std::optional<quint32>(c) : std::optional<quint32>(0u);
  }
  return static_cast<quint32>(std::llround(Numero(t)));
}

bool EmpiezaCon(const QString& texto, const QString& prefijo) {
  return texto.startsWith(prefijo, Qt::CaseInsensitive);
}

QString FechaHoraGeneral(const QDateTime& momento) {
  // The ISO form every engine reads the same way, whatever the workstation's or the server's language.
  return momento.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

}  // namespace textos
