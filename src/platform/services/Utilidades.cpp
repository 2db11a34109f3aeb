#include "platform/services/Utilidades.h"

#include <QLocale>
#include <QObject>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QVariant>
#include <cmath>

#include "platform/services/NumeroTecleado.h"
#include "platform/services/Operador.h"

namespace {

// A fixed key stream keeps stored credentials from being read at a glance;
// it is not meant to resist anyone who has the program.
constexpr unsigned char kClave[] = {0x5A, 0x13, 0xC7, 0x2E, 0x91, 0x6B, 0xF4, 0x08, 0x3D, 0xA6, 0x77};
constexpr int kLargoClave = sizeof kClave;

unsigned char ByteClave(int i) {
  return static_cast<unsigned char>(kClave[i % kLargoClave] + 31 * (i / kLargoClave));
}

// Marks our encoding, so that a value typed by hand is told apart.
const QChar kMarca = QLatin1Char('~');

// Upper case only, as Encriptar writes it.
int ValorHex(QChar c) {
  const ushort u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return -1;
}

// The suite's fixed point: a 64-bit count of ten-thousandths.
constexpr double kMayorFijo = 922337203685477.5807;

// Units and decimals rounded to four decimals, half away from zero, as plain
// decimal text with ".": ("1", "23456") gives "1.2346", ("0", "00004") "0".
QString Redondeado(bool negativo, const QString& enteros, QString decimales) {
  const bool sube = decimales.size() > 4 && decimales.at(4) >= QLatin1Char('5');
  decimales = decimales.left(4).leftJustified(4, QLatin1Char('0'));
  QString digitos = enteros + decimales;
  if (sube) {
    int k = digitos.size() - 1;
    for (; k >= 0 && digitos.at(k) == QLatin1Char('9'); --k) digitos[k] = QLatin1Char('0');
    if (k < 0)
      digitos.prepend(QLatin1Char('1'));
    else
      digitos[k] = QChar(digitos.at(k).unicode() + 1);
  }
  QString unidades = digitos.left(digitos.size() - 4);
  QString fraccion = digitos.right(4);
  int ceros = 0;
  while (ceros < unidades.size() - 1 && unidades.at(ceros) == QLatin1Char('0')) ++ceros;
  unidades.remove(0, ceros);
  if (unidades.isEmpty()) unidades = QStringLiteral("0");
  while (fraccion.endsWith(QLatin1Char('0'))) fraccion.chop(1);
  QString r = fraccion.isEmpty() ? unidades : unidades + QLatin1Char('.') + fraccion;
  if (negativo && r != QLatin1String("0")) r.prepend(QLatin1Char('-'));
  return r;
}

Utilidades::Testigo& TestigoDeErrores() {
  static Utilidades::Testigo t;
  return t;
}

}  // namespace

void Utilidades::FijarTestigoDeErrores(Testigo testigo) { TestigoDeErrores() = std::move(testigo); }

Utilidades& Utilidades::Compartido() {
  static Utilidades u;
  return u;
}

int Utilidades::MostrarError(const ado::ErrorInfo& error, const ado::Value& botones,
                             const QString& procedimiento) {
  if (error.Number == 0) return 0;
  QString texto = QStringLiteral("Se ha producido el error ") + QString::number(error.Number);
  if (!procedimiento.trimmed().isEmpty()) texto += QStringLiteral(" en ") + procedimiento.trimmed();
  texto += QStringLiteral(":\r") + error.Description.trimmed();
  if (!error.Source.trimmed().isEmpty())
    texto += QStringLiteral("\r(") + error.Source.trimmed() + QLatin1Char(')');
  const int estilo =
      ado::IsEmpty(botones) || ado::IsNull(botones) ? vb::Critical + vb::AbortRetryIgnore : botones.toInt();
  const int respuesta = ElOperador().MsgBox(texto, estilo, QStringLiteral("Aviso al operador..."));
  if (TestigoDeErrores()) TestigoDeErrores()(procedimiento, texto, respuesta);
  return respuesta;
}

QString Utilidades::NuloATexto(const ado::Value& valor) const {
  if (ado::IsEmpty(valor) || ado::IsNull(valor)) return QString();
  return valor.toString();
}

QString Utilidades::QuitarCaracteres(const QString& texto, const QString& c1, const QString& c2,
                                     const QString& c3) const {
  const QString quitar = c1 + c2 + c3;
  if (quitar.isEmpty()) return texto;
  QString r;
  r.reserve(texto.size());
  for (QChar c : texto)
    if (!quitar.contains(c)) r += c;
  return r;
}

QString Utilidades::Reemplazar(const QString& texto, const QString& buscar, const QString& reemplazo) const {
  // An empty search text would insert the replacement between every character.
  if (buscar.isEmpty()) return texto;
  QString r = texto;
  return r.replace(buscar, reemplazo);
}

QString Utilidades::AlinearDerecha(const QString& texto, std::optional<int> ancho) const {
  if (!ancho) return texto;
  const QString t = texto.trimmed();
  if (t.isEmpty()) return QString();
  // A longer text is kept whole: cutting a code would silently change it.
  return t.rightJustified(*ancho, QLatin1Char(' '), false);
}

double Utilidades::ValorNumerico(const QString& texto) const {
  const auto c = numero::Convencion::DelPuesto();
  const auto leido = numero::Leer(texto, c);
  // Four decimals is all the fixed point holds: a fifth would be rounded away unseen.
  if (!leido || leido->decimales.size() > 4)
    throw ado::Failure(ado::err::WrongType,
                       QStringLiteral("\"%1\" no es un número: escríbalo como %2 (hasta 4 decimales).")
                           .arg(texto.trimmed(), numero::Ejemplo(c, 2)));
  return *ValorNumericoCon(leido->Plano(), QStringLiteral("."));
}

std::optional<double> Utilidades::ValorNumericoCon(const QString& texto, const QString& separador,
                                                   const QString& grupo) {
  numero::Convencion c;
  if (separador.size() != 1) return std::nullopt;
  c.decimal = separador.at(0);
  if (grupo.size() == 1 && grupo.at(0) != c.decimal) c.grupo = grupo.at(0);
  const auto d = numero::Leer(texto, c);
  if (!d) return std::nullopt;
  const QString plano = Redondeado(d->negativo, d->enteros, d->decimales);
  const double v = plano.toDouble();
  if (plano.size() > 24 || !(std::fabs(v) <= kMayorFijo))
    throw ado::Failure(6, QStringLiteral("Desbordamiento"));
  return v;
}

double Utilidades::ValorPuntoOComa(const ado::Value& valor) const {
  if (ado::IsEmpty(valor) || ado::IsNull(valor)) return 0.0;
  if (ado::IsNumber(valor)) return valor.toDouble();
  const QString t = valor.toString();
  const bool coma = t.contains(QLatin1Char(',')) && !t.contains(QLatin1Char('.'));
  return ValorNumericoCon(t, coma ? QStringLiteral(",") : QStringLiteral(".")).value_or(0.0);
}

QString Utilidades::TextoNumerico(double valor) const {
  return TextoDecimal(valor, QLocale().decimalPoint());
}

QString Utilidades::TextoDecimal(double valor, const QString& separador) {
  if (!std::isfinite(valor))
    throw ado::Failure(
        6, QStringLiteral("Desbordamiento: un número infinito o indefinido no se puede escribir"));
  // The shortest text that reads back as the same double, then rounded as a
  // typed text is: 0.00005 gives 0.0001 either way.
  QString t = QString::number(valor, 'f', QLocale::FloatingPointShortest);
  const bool negativo = t.startsWith(QLatin1Char('-'));
  if (negativo) t.remove(0, 1);
  const int punto = t.indexOf(QLatin1Char('.'));
  QString r = Redondeado(negativo, punto < 0 ? t : t.left(punto), punto < 0 ? QString() : t.mid(punto + 1));
  if (separador != QLatin1String(".")) r.replace(QLatin1Char('.'), separador);
  return r;
}

QString Utilidades::Encriptar(const QString& texto) const {
  if (texto.isEmpty()) return texto;
  const QByteArray bytes = texto.toUtf8();
  QString r(kMarca);
  r.reserve(bytes.size() * 2 + 1);
  for (int i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]) ^ ByteClave(i);
    r += QString::asprintf("%02X", b);
  }
  return r;
}

QString Utilidades::Desencriptar(const QString& texto) const {
  // Only what Encriptar writes is decoded, exactly: anything else (a value typed
  // into the file by hand) is taken as it stands. The INI reader has already
  // dropped the blanks around a stored value.
  if (!texto.startsWith(kMarca)) return texto;
  const QString t = texto.mid(1);
  if (t.isEmpty() || t.size() % 2 != 0) return texto;
  QByteArray bytes;
  bytes.reserve(t.size() / 2);
  for (int i = 0; i < t.size(); i += 2) {
    const int alto = ValorHex(t.at(i));
    const int bajo = ValorHex(t.at(i + 1));
    if (alto < 0 || bajo < 0) return texto;
    bytes.append(static_cast<char>((alto * 16 + bajo) ^ ByteClave(i / 2)));
  }
  // A leading U+FEFF is part of the text, not a byte-order mark to drop.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
  const QString r = utf8(bytes);
  if (utf8.hasError() || r.toUtf8() != bytes) return texto;
  return r;
}

QString Utilidades::RutaConBarra(const QString& carpeta) const {
  if (carpeta.isEmpty()) return carpeta;
  QString r = carpeta;
  while (r.size() > 1 && (r.endsWith(QLatin1Char('/')) || r.endsWith(QLatin1Char('\\')))) r.chop(1);
  if (r == QLatin1String("/") || r == QLatin1String("\\")) return r;
  return r + QLatin1Char('/');
}

void Utilidades::PrepararFormulario(QObject* formulario, bool bandera) {
  if (!formulario) return;
  formulario->setProperty("maPreparado", true);
  formulario->setProperty("maPreparadoBandera", bandera);
}

int Utilidades::ContarPalabras(const QString& texto) const {
  return static_cast<int>(texto.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts).size());
}
