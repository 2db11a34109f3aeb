#pragma once
// The workstation's locale for one scope, so that a test runs its cases in
// the C and the Argentine locale whatever locale the suite itself runs in.
#include <QLocale>

class EnIdioma {
 public:
  explicit EnIdioma(const char* nombre) { QLocale::setDefault(QLocale(QString::fromLatin1(nombre))); }
  ~EnIdioma() { QLocale::setDefault(previo_); }
  EnIdioma(const EnIdioma&) = delete;
  EnIdioma& operator=(const EnIdioma&) = delete;

 private:
  QLocale previo_;
};

// A point and a comma as the decimal separator.
inline constexpr const char* kIdiomas[] = {"C", "es_AR"};
