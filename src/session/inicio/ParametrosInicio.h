#pragma once
// The start-up parameter text: items "@key=value" separated by ";".
#include <QString>

struct ParametrosInicio {
  QString ParametroAdicional;
  QString Menu;
  QString Servidor;
  QString BaseDeDatos;
  QString Usuario;
  QString Password;
  QString UsuarioLogeado;
  QString Caja = QStringLiteral("1");
};

// The value of one key, found without regard to letter case from the start
// of the text: what follows the key up to the next ";" (or, with no ";"
// after it, the next as many characters as the key has), without any "="
// and trimmed. `defecto` when the key is not in the text.
//
// The search is for the key's text anywhere, so "@Usuario" also matches the
// start of "@UsuarioLogeado" when that comes first; callers of the suite
// write "@Usuario" first.
QString ValorParametro(const QString& texto, const QString& clave, const QString& defecto = {});

ParametrosInicio InterpretarParametros(const QString& texto);

// The parameter text for the values stored in the workstation's INI section.
QString ParametrosDesdeIni(const QString& servidor, const QString& base, const QString& usuario,
                           const QString& password);
