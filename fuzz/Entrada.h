#pragma once
// What the fuzzing programs share: the input as text, cut into parts, and a
// check that stops the run with a message when a property does not hold.
#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace entrada {

inline QByteArray Bytes(const uint8_t* datos, size_t largo) {
  return QByteArray(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
}

// The bytes as UTF-8 text; a leading U+FEFF stays, bad sequences become U+FFFD.
inline QString Texto(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
  return utf8(bytes);
}

// The text cut at its first `n - 1` NUL characters into `n` parts (missing ones empty).
inline QStringList Partes(const QString& texto, int n) {
  QStringList p = texto.split(QChar(0));
  while (p.size() > n) p[n - 1] += QChar(0) + p.takeAt(n);
  while (p.size() < n) p << QString();
  return p;
}

inline std::string Visible(const QString& s) { return s.toUtf8().toStdString(); }

[[noreturn]] inline void Falla(const char* propiedad, const QString& detalle) {
  std::fprintf(stderr, "Property does not hold: %s\n%s\n", propiedad, detalle.toUtf8().constData());
  std::abort();
}

}  // namespace entrada

#define EXIGIR(cond, detalle)                      \
  do {                                             \
    if (!(cond)) entrada::Falla(#cond, (detalle)); \
  } while (0)
