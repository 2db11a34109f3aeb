// The encoding of stored credentials: any text comes back from its encoding, and
// a text the encoding could not have written (typed into the file by hand, or an
// encoding edited) comes back unchanged, never as some other text.
#include "fuzz/Entrada.h"
#include "platform/services/Utilidades.h"

namespace {

// Desencriptar reads `t` as an encoding only when Encriptar writes exactly `t`.
void NadaAjeno(const Utilidades& u, const QString& t) {
  const QString d = u.Desencriptar(t);
  EXIGIR(d == t || u.Encriptar(d) == t, t + QStringLiteral(" -> ") + d);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  Utilidades u;
  // The input: a text, and after a NUL an edit of its encoding (what, where, with which character).
  const QStringList partes = entrada::Partes(entrada::Texto(entrada::Bytes(datos, largo)), 2);
  const QString x = partes[0];
  const QString e = u.Encriptar(x);
  // It can stand as an INI value: printable ASCII, no ";" and no line break.
  for (QChar c : e)
    EXIGIR(c.unicode() >= 0x21 && c.unicode() < 0x7F && c != QLatin1Char(';'),
           x + QStringLiteral(" -> ") + e);
  EXIGIR(u.Desencriptar(e) == x, x + QStringLiteral(" -> ") + e + QStringLiteral(" -> ") + u.Desencriptar(e));
  NadaAjeno(u, x);
  NadaAjeno(u, partes[1]);

  const QString edicion = partes[1];
  if (edicion.size() >= 3) {
    QString t = e;
    const int donde = edicion.at(1).unicode() % (t.size() + 1);
    const QChar con = edicion.at(2);
    switch (edicion.at(0).unicode() % 5) {
      case 0:
        t.insert(donde, con);
        break;
      case 1:
        if (donde < t.size()) t[donde] = con;
        break;
      case 2:
        t.remove(donde, 1);
        break;
      case 3:
        t = t.left(donde) + t.mid(donde).toLower();
        break;
      default:
        t = con + t + con;
        break;
    }
    NadaAjeno(u, t);
  }
  return 0;
}
