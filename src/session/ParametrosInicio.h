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

// The value of one key, found without regard to letter case: what follows
// the whole key (the key text followed by "=" or blanks, never the start of
// a longer key) and its "=" up to the next ";", or to the end of the text
// for a last item without one; trimmed. An "=" inside the value is kept, as
// a password may hold one. `defecto` when the key is not in the text.
QString ValorParametro(const QString& texto, const QString& clave, const QString& defecto = {});

ParametrosInicio InterpretarParametros(const QString& texto);

// The parameter text for the values stored in the workstation's INI section.
QString ParametrosDesdeIni(const QString& servidor, const QString& base, const QString& usuario,
                           const QString& password);
