#include "session/ValorTecleado.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>
#include <limits>

#include "platform/client/Constants.h"
#include "platform/client/Recordset.h"
#include "platform/services/FechaTecleada.h"
#include "platform/services/NumeroTecleado.h"

namespace {

// The suite's fixed point: a 64-bit count of ten-thousandths.
const QString kMayorMoneda = QStringLiteral("922337203685477");

// A date typed day first (or year first), optionally followed by a time.
std::optional<ado::Value> FechaTecleada(const QString& texto) {
  static const QRegularExpression conHora(
      QStringLiteral("^\\s*(\\S+)\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*$"));
  QDate fecha;
  if (FechaDeTexto(texto, fecha)) return ado::Value(fecha);
  const QRegularExpressionMatch m = conHora.match(texto);
  if (!m.hasMatch() || !FechaDeTexto(m.captured(1), fecha)) return std::nullopt;
  bool h = false, mi = false, s = true;
  const QTime hora(m.captured(2).toInt(&h), m.captured(3).toInt(&mi),
                   m.captured(4).isEmpty() ? 0 : m.captured(4).toInt(&s));
  if (!h || !mi || !s || !hora.isValid()) return std::nullopt;
  return ado::Value(QDateTime(fecha, hora));
}

// Integer digits a column of that type holds at most, by range.
bool EnRangoEntero(const numero::Decimal& d, int adoTipo, qlonglong& valor) {
  if (d.enteros.size() > 19) return false;
  bool ok = false;
  valor = d.Plano().toLongLong(&ok);
  if (!ok) return false;
  qlonglong lo = std::numeric_limits<qlonglong>::min(), hi = std::numeric_limits<qlonglong>::max();
  switch (adoTipo) {
    case ado::adTinyInt:
      lo = -128, hi = 127;
      break;
    case ado::adUnsignedTinyInt:
      lo = 0, hi = 255;
      break;
    case ado::adSmallInt:
      lo = -32768, hi = 32767;
      break;
    case ado::adUnsignedSmallInt:
      lo = 0, hi = 65535;
      break;
    case ado::adInteger:
      lo = -2147483648LL, hi = 2147483647LL;
      break;
    case ado::adUnsignedInt:
      lo = 0, hi = 4294967295LL;
      break;
    default:
      break;
  }
  return valor >= lo && valor <= hi;
}

bool EnRangoMoneda(const numero::Decimal& d) {
  if (d.enteros.size() != kMayorMoneda.size()) return d.enteros.size() < kMayorMoneda.size();
  if (d.enteros != kMayorMoneda) return d.enteros < kMayorMoneda;
  return d.decimales.leftJustified(4, QLatin1Char('0')) <=
         (d.negativo ? QStringLiteral("5808") : QStringLiteral("5807"));
}

// A double when it holds the number exactly (it reads back as the same digits),
// otherwise the plain text, so that no digit is lost on the way to the engine.
ado::Value Exacto(const numero::Decimal& d) {
  const QString plano = d.Plano();
  const double v = plano.toDouble();
  if (d.CifrasSignificativas() <= 15 && numero::DeDouble(v).Plano() == plano) return v;
  return plano;
}

}  // namespace

TipoTecleado TipoTecleado::De(const ado::Field& f) {
  TipoTecleado t;
  t.adoTipo = f.Type();
  switch (t.adoTipo) {
    case ado::adTinyInt:
    case ado::adSmallInt:
    case ado::adInteger:
    case ado::adBigInt:
    case ado::adUnsignedTinyInt:
    case ado::adUnsignedSmallInt:
    case ado::adUnsignedInt:
    case ado::adUnsignedBigInt:
      t.clase = ClaseTecleada::Entero;
      break;
    case ado::adCurrency:
      t.clase = ClaseTecleada::Moneda;
      t.escala = 4;
      break;
    case ado::adDecimal:
    case ado::adNumeric:
      t.clase = ClaseTecleada::Exacto;
      t.precision = f.Precision() > 0 && f.Precision() < 255 ? f.Precision() : 0;
      t.escala = f.NumericScale() < 255 ? f.NumericScale() : -1;
      // Without a known scale the engine keeps what it is given (SQLite, as a double).
      if (t.precision == 0 || t.escala < 0) t.precision = 0, t.escala = -1;
      break;
    case ado::adSingle:
    case ado::adDouble:
      t.clase = ClaseTecleada::Flotante;
      break;
    case ado::adDate:
    case ado::adDBDate:
    case ado::adDBTimeStamp:
    case 64:
    case 137:
      t.clase = ClaseTecleada::Fecha;
      break;
    default:
      break;
  }
  return t;
}

bool TipoTecleado::EsNumero() const { return clase != ClaseTecleada::Texto && clase != ClaseTecleada::Fecha; }

std::optional<Tecleado> LeerTecleado(const QString& texto, const TipoTecleado& tipo) {
  if (tipo.clase == ClaseTecleada::Texto) return Tecleado{texto, texto};
  // An emptied field holds nothing, as a text field does.
  if (texto.trimmed().isEmpty()) return Tecleado{ado::Null(), QString()};
  if (tipo.clase == ClaseTecleada::Fecha) {
    const auto f = FechaTecleada(texto);
    if (!f) return std::nullopt;
    return Tecleado{*f, TextoAlmacenado(*f, tipo)};
  }
  const auto c = numero::Convencion::DelPuesto();
  const auto d = numero::Leer(texto, c);
  if (!d) return std::nullopt;
  ado::Value v;
  switch (tipo.clase) {
    case ClaseTecleada::Entero: {
      qlonglong n = 0;
      if (!d->decimales.isEmpty() || !EnRangoEntero(*d, tipo.adoTipo, n)) return std::nullopt;
      v = n;
      break;
    }
    case ClaseTecleada::Moneda:
      if (d->decimales.size() > 4 || !EnRangoMoneda(*d)) return std::nullopt;
      v = Exacto(*d);
      break;
    case ClaseTecleada::Exacto:
      if (tipo.escala >= 0 && d->decimales.size() > tipo.escala) return std::nullopt;
      if (tipo.precision > 0 && d->enteros.size() > tipo.precision - tipo.escala) return std::nullopt;
      v = Exacto(*d);
      break;
    default: {
      const double x = d->Plano().toDouble();
      if (!std::isfinite(x)) return std::nullopt;
      v = x;
      break;
    }
  }
  return Tecleado{v, TextoAlmacenado(v, tipo)};
}

QString TextoAlmacenado(const ado::Value& v, const TipoTecleado& tipo) {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return {};
  if (tipo.clase == ClaseTecleada::Fecha) {
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (v.typeId() == QMetaType::QDateTime) {
      const QDateTime t = v.toDateTime();
      if (t.time() == QTime(0, 0)) return t.date().toString(QStringLiteral("dd/MM/yyyy"));
      return t.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    return v.toString().trimmed();
  }
  if (!tipo.EsNumero()) return v.toString().trimmed();
  const auto c = numero::Convencion::DelPuesto();
  if (ado::IsNumber(v)) {
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
      return numero::DeDouble(v.toDouble()).Escrito(c);
    return v.toString();
  }
  // A text the program or the engine wrote: "." as its decimal separator.
  if (const auto d = numero::LeerPlano(v.toString())) return d->Escrito(c);
  return v.toString().trimmed();
}

QString MensajeRechazo(const QString& campo, const QString& texto, const TipoTecleado& tipo) {
  const auto c = numero::Convencion::DelPuesto();
  QString forma;
  switch (tipo.clase) {
    case ClaseTecleada::Fecha:
      forma = QStringLiteral("una fecha que exista, como 31/12/2024");
      break;
    case ClaseTecleada::Entero:
      forma = QStringLiteral("un número entero, como %1").arg(numero::Ejemplo(c, 0));
      break;
    case ClaseTecleada::Moneda:
      forma = QStringLiteral("un importe de hasta 4 decimales, como %1").arg(numero::Ejemplo(c, 2));
      break;
    case ClaseTecleada::Exacto:
      if (tipo.escala < 0)
        forma = QStringLiteral("un número, como %1").arg(numero::Ejemplo(c, 2));
      else
        forma = QStringLiteral("un número de hasta %1 cifras enteras y %2 decimales, como %3")
                    .arg(tipo.precision - tipo.escala)
                    .arg(tipo.escala)
                    .arg(numero::Ejemplo(c, std::min(tipo.escala, 2)));
      break;
    default:
      forma = QStringLiteral("un número, como %1").arg(numero::Ejemplo(c, 2));
      break;
  }
  return QStringLiteral("El campo %1 no acepta \"%2\".\r\nEscriba %3.").arg(campo, texto.trimmed(), forma);
}
