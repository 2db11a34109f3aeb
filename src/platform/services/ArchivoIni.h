#pragma once
// Reading of the suite's private INI files as the suite writes them: sections
// and keys matched without regard to letter case, CRLF or LF line ends, ";"
// comment lines, values trimmed, text in the Windows code page.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class ArchivoIni {
 public:
  static ArchivoIni& Compartido();

  // The stored text, or `defecto` when the file, the section or the key is
  // missing. A name without a folder is looked for in Carpetas(), in order;
  // the first folder that holds the file is the only one read.
  QString LeerIni(const QString& archivo, const QString& seccion, const QString& clave,
                  const QString& defecto = {}) const;

  // The program's folder, then the user's configuration folder
  // ($XDG_CONFIG_HOME or ~/.config, then "MA_Empresas").
  QStringList Carpetas() const;
  // Replaces the folders searched (tests); an empty list restores the default.
  void FijarCarpetas(const QStringList& carpetas);

  // The full path of the file that LeerIni would read, or "" when none exists.
  // The file name is matched without regard to letter case.
  QString Ubicar(const QString& archivo) const;

 private:
  QStringList carpetas_;
};

// The value of a key in the contents of an INI file; std::nullopt when the
// section or key is not there.
std::optional<QString> ValorIni(const QByteArray& contenido, const QString& seccion, const QString& clave);
