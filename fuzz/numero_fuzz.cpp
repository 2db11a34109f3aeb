// The operator's number reader: a number written in the workstation's
// convention is read exactly; anything else is refused, never read as another
// number. The judge is a regular expression written here, not the reader.
//
// First byte: bit 0 picks the convention (0 "1,234.56", 1 "1.234,56"); bit 1
// picks the mode: 0 reads the rest as text, 1 builds a well-formed number from it.
#include <algorithm>
#include <regex>
#include <string>

#include "fuzz/Entrada.h"
#include "platform/core/Error.h"
#include "platform/services/NumeroTecleado.h"
#include "platform/services/Utilidades.h"

namespace {

struct Referencia {
  bool valido = false;
  std::string plano;  // "-1234.56", "0"
};

std::string SinCerosIzquierda(std::string s) {
  const size_t i = s.find_first_not_of('0');
  return i == std::string::npos ? std::string() : s.substr(i);
}

// The rule as the operator is told it, on the text without blanks around it.
Referencia Juzgar(const QString& texto, char decimal, char grupo) {
  const QByteArray b = texto.trimmed().toUtf8();
  const std::string s(b.constData(), static_cast<size_t>(b.size()));
  const std::string g = std::string("\\") + grupo, d = std::string("\\") + decimal;
  const std::regex re("([+-]?)([1-9][0-9]{0,2}(?:" + g + "[0-9]{3})+|[0-9]*)(?:" + d + "([0-9]*))?");
  std::smatch m;
  Referencia r;
  if (!std::regex_match(s, m, re) || m[2].length() + m[3].length() == 0) return r;
  std::string enteros = m[2].str();
  enteros.erase(std::remove(enteros.begin(), enteros.end(), grupo), enteros.end());
  enteros = SinCerosIzquierda(enteros);
  std::string decimales = m[3].str();
  while (!decimales.empty() && decimales.back() == '0') decimales.pop_back();
  r.valido = true;
  r.plano = (enteros.empty() ? "0" : enteros) + (decimales.empty() ? "" : "." + decimales);
  if (m[1].str() == "-" && r.plano != "0") r.plano.insert(0, "-");
  return r;
}

// A well-formed number from the bytes: sign, digits, grouping or not, decimals.
QString Construir(const QByteArray& b, char decimal, char grupo) {
  QString t;
  int i = 0;
  auto byte = [&] { return i < b.size() ? static_cast<unsigned char>(b[i++]) : 0u; };
  const unsigned opciones = byte();
  if (opciones & 1) t += (opciones & 2) ? QLatin1Char('-') : QLatin1Char('+');
  const int nEnteros = static_cast<int>(byte() % 20), nDecimales = static_cast<int>(byte() % 12);
  QString enteros;
  for (int k = 0; k < nEnteros; ++k) enteros += QChar('0' + byte() % 10);
  const bool agrupar = (opciones & 4) && !enteros.isEmpty();
  if (agrupar) {
    while (enteros.startsWith(QLatin1Char('0'))) enteros.remove(0, 1);
    if (enteros.isEmpty()) enteros = QStringLiteral("1");
    for (int k = static_cast<int>(enteros.size()) - 3; k > 0; k -= 3) enteros.insert(k, QChar(grupo));
  }
  t += enteros;
  if (nDecimales > 0 || enteros.isEmpty()) {
    t += QChar(decimal);
    for (int k = 0; k < std::max(nDecimales, enteros.isEmpty() ? 1 : 0); ++k) t += QChar('0' + byte() % 10);
  }
  if (opciones & 8) t = QStringLiteral("  ") + t + QLatin1Char(' ');
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  if (largo == 0) return 0;
  const bool coma = datos[0] & 1;
  const bool construir = datos[0] & 2;
  const char decimal = coma ? ',' : '.', grupo = coma ? '.' : ',';
  numero::Convencion c;
  c.decimal = QLatin1Char(decimal);
  c.grupo = QLatin1Char(grupo);
  const QByteArray resto = entrada::Bytes(datos + 1, largo - 1);
  const QString x = construir ? Construir(resto, decimal, grupo) : entrada::Texto(resto);

  const Referencia ref = Juzgar(x, decimal, grupo);
  const auto leido = numero::Leer(x, c);
  if (construir) EXIGIR(ref.valido, QStringLiteral("el juez rechaza lo construido: ") + x);
  EXIGIR(leido.has_value() == ref.valido, x);
  if (!leido) {
    bool rechazado = false;
    try {
      rechazado =
          !Utilidades::ValorNumericoCon(x, QString(QLatin1Char(decimal)), QString(QLatin1Char(grupo)));
    } catch (const ado::Failure&) {
      rechazado = false;
    }
    EXIGIR(rechazado, QStringLiteral("leído como número: ") + x);
    return 0;
  }
  EXIGIR(leido->Plano() == QString::fromStdString(ref.plano), x + QStringLiteral(" -> ") + leido->Plano());
  // As the program shows it again, it reads back as the same number.
  const auto otraVez = numero::Leer(leido->Escrito(c), c);
  EXIGIR(otraVez && otraVez->Plano() == leido->Plano(), x);
  // The fixed-point reader agrees, or says the amount is out of its range.
  try {
    const auto v =
        Utilidades::ValorNumericoCon(x, QString(QLatin1Char(decimal)), QString(QLatin1Char(grupo)));
    EXIGIR(v.has_value(), x);
    if (leido->decimales.size() <= 4 && leido->CifrasSignificativas() <= 15)
      EXIGIR(*v == leido->Plano().toDouble(), x);
  } catch (const ado::Failure& f) {
    EXIGIR(f.Number() == 6 && leido->enteros.size() >= 15, x);
  }
  return 0;
}
