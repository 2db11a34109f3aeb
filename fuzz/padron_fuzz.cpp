// AFIP's register as it is read: whatever the bytes and however the reads cut
// them, every line handed on is a well-formed one of the input, in its order,
// and every other non-blank line is counted as malformed.
#include <algorithm>
#include <cstring>

#include "company/rules/LectorPadron.h"
#include "fuzz/Entrada.h"

namespace {

// The input, read a few bytes at a time (the first byte says how many), so that
// lines straddle the reads.
class EnMemoria : public padron::Lector {
 public:
  explicit EnMemoria(const QByteArray& b)
      : Lector(QStringLiteral("x.p20out1.20260101.tmp"), QString(), b.size()), b_(b) {}

 protected:
  qint64 Leer(char* destino, qint64 maximo) override {
    const qint64 paso = b_.isEmpty() ? 1 : 1 + static_cast<unsigned char>(b_[0]) % 97;
    const qint64 n = std::min({maximo, paso, static_cast<qint64>(b_.size()) - hecho_});
    std::memcpy(destino, b_.constData() + hecho_, static_cast<size_t>(n));
    hecho_ += n;
    return n;
  }

 private:
  QByteArray b_;
  qint64 hecho_ = 0;
};

bool EnBlanco(const QByteArray& l) {
  return std::all_of(l.begin(), l.end(), [](char c) { return c == ' ' || c == '\r' || c == '\t'; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray bytes = entrada::Bytes(datos, largo);
  // The plain reading: split at line ends, each line on its own.
  QList<QByteArray> lineas = bytes.split('\n');
  if (bytes.endsWith('\n') || bytes.isEmpty()) lineas.removeLast();
  QStringList esperadas;
  qint64 noBlancas = 0, anterior = -1;
  for (const QByteArray& l : lineas) {
    if (EnBlanco(l)) continue;
    ++noBlancas;
    padron::Linea x;
    if (padron::LeerLinea(std::string_view(l.constData(), l.size()), x) == padron::Defecto::Ninguno &&
        x.cuit != anterior) {
      anterior = x.cuit;
      esperadas << QString::fromLatin1(l.left(padron::kLargoLinea));
    }
  }

  EnMemoria lector(bytes);
  padron::Linea l;
  QStringList leidas;
  while (lector.Siguiente(l)) {
    const QString texto = QString(reinterpret_cast<const QChar*>(l.texto.data()), padron::kLargoLinea);
    EXIGIR(texto.left(11).toLongLong() == l.cuit, texto);
    leidas << texto;
  }
  EXIGIR(leidas == esperadas, leidas.join('\n') + QStringLiteral("\n---\n") + esperadas.join('\n'));
  EXIGIR(lector.Lineas() == noBlancas, QString::number(lector.Lineas()));
  EXIGIR(lector.Malformadas() == noBlancas - leidas.size(), QString::number(lector.Malformadas()));
  EXIGIR(lector.BytesLeidos() == bytes.size(), QString::number(lector.BytesLeidos()));
  return 0;
}
