#pragma once
// The workstation's locale for one scope, so that a test runs its cases in
// the C and the Argentine locale whatever locale the suite runs in.
#include <QLocale>

struct EnIdioma {
  explicit EnIdioma(const char* nombre) { QLocale::setDefault(QLocale(QString::fromLatin1(nombre))); }
  ~EnIdioma() { QLocale::setDefault(previo); }
  const QLocale previo;
};
