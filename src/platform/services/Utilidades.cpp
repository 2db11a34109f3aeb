#include "platform/services/Utilidades.h"

#include <QLocale>
#include <QObject>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QVariant>
#include <cmath>

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

int ValorHex(QChar c) {
  const ushort u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  return -1;
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
  return ValorNumericoCon(texto, QLocale::system().decimalPoint());
}

double Utilidades::ValorNumericoCon(const QString& texto, const QString& separador) {
  int i = 0;
  const int n = texto.size();
  while (i < n && texto.at(i).isSpace()) ++i;
  bool negativo = false;
  if (i < n && (texto.at(i) == QLatin1Char('-') || texto.at(i) == QLatin1Char('+'))) {
    negativo = texto.at(i) == QLatin1Char('-');
    ++i;
  }
  QString numero;
  while (i < n && texto.at(i).isDigit() && texto.at(i).unicode() < 128) numero += texto.at(i++);
  if (!separador.isEmpty() && texto.mid(i, separador.size()) == separador) {
    i += separador.size();
    QString decimales;
    while (i < n && texto.at(i).isDigit() && texto.at(i).unicode() < 128) decimales += texto.at(i++);
    if (!decimales.isEmpty()) numero += QLatin1Char('.') + decimales;
  }
  if (numero.isEmpty()) return 0.0;
  bool ok = false;
  double v = numero.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return 0.0;
  // Fixed point with four decimals.
  v = std::round(v * 10000.0) / 10000.0;
  return negativo ? -v : v;
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
  // Anything that is not our encoding (a value typed into the file by hand)
  // is taken as it stands.
  const QString marcado = texto.trimmed();
  if (!marcado.startsWith(kMarca)) return texto;
  const QString t = marcado.mid(1);
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
