#include "platform/services/Cp1252.h"

#include <iconv.h>

#include <QList>
#include <cerrno>

namespace {

// iconv with //TRANSLIT is locale-dependent; convert code point by code point
// instead so that the result never depends on the workstation's locale.
class Conversor {
 public:
  Conversor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Conversor() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  bool Valido() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // Converts one unit; false when it has no equivalent.
  bool Uno(const char* in, size_t inLen, char* out, size_t& outLen) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* pin = const_cast<char*>(in);
    char* pout = out;
    size_t libre = outLen;
    if (iconv(cd_, &pin, &inLen, &pout, &libre) == static_cast<size_t>(-1)) return false;
    outLen = outLen - libre;
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

QByteArray HaciaCp1252(const QString& texto) {
  static Conversor conv("CP1252", "UTF-32LE");
  QByteArray salida;
  salida.reserve(texto.size());
  for (char32_t cp : texto.toUcs4()) {
    // The five bytes the code page leaves unassigned are read as the C1
    // controls of the same value (DesdeCp1252) and go back as those bytes.
    if (cp < 0x80 || cp == 0x81 || cp == 0x8D || cp == 0x8F || cp == 0x90 || cp == 0x9D) {
      salida.append(static_cast<char>(cp));
      continue;
    }
    char buf[4];
    size_t n = sizeof buf;
    const char32_t le = cp;  // x86 and every target we build for are little-endian
    if (conv.Valido() && conv.Uno(reinterpret_cast<const char*>(&le), 4, buf, n) && n == 1)
      salida.append(buf[0]);
    else
      salida.append('?');
  }
  return salida;
}

QString DesdeCp1252(const QByteArray& bytes) {
  static Conversor conv("UTF-8", "CP1252");
  static QString tabla[256];
  static bool hecha = false;
  if (!hecha) {
    for (int b = 0; b < 256; ++b) {
      if (b < 0x80) {
        tabla[b] = QChar(b);
        continue;
      }
      char in = static_cast<char>(b);
      char out[8];
      size_t n = sizeof out;
      // The five unassigned bytes map to the C1 control of the same value.
      tabla[b] = conv.Valido() && conv.Uno(&in, 1, out, n) ? QString::fromUtf8(out, static_cast<int>(n))
                                                           : QString(QChar(b));
    }
    hecha = true;
  }
  QString s;
  s.reserve(bytes.size());
  for (char c : bytes) s += tabla[static_cast<unsigned char>(c)];
  return s;
}
