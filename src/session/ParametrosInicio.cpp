#include "session/ParametrosInicio.h"

QString ValorParametro(const QString& texto, const QString& clave, const QString& defecto) {
  if (clave.isEmpty()) return defecto;
  const qsizetype largo = clave.size();
  for (qsizetype pos = texto.indexOf(clave, 0, Qt::CaseInsensitive); pos >= 0;
       pos = texto.indexOf(clave, pos + 1, Qt::CaseInsensitive)) {
    qsizetype inicio = pos + largo;
    // Only the whole key: "@Usuario" is not the start of "@UsuarioLogeado".
    qsizetype i = inicio;
    while (i < texto.size() && texto.at(i).isSpace()) ++i;
    if (i < texto.size() && texto.at(i) != QLatin1Char('=') && i == inicio) continue;
    if (i < texto.size() && texto.at(i) == QLatin1Char('=')) inicio = i + 1;
    const qsizetype puntoYComa = texto.indexOf(QLatin1Char(';'), inicio);
    return texto.mid(inicio, puntoYComa < 0 ? -1 : puntoYComa - inicio).trimmed();
  }
  return defecto;
}

ParametrosInicio InterpretarParametros(const QString& texto) {
  ParametrosInicio p;
  p.ParametroAdicional = ValorParametro(texto, QStringLiteral("@ParametroAdicional"));
  p.Menu = ValorParametro(texto, QStringLiteral("@Menu"));
  p.Servidor = ValorParametro(texto, QStringLiteral("@Server"));
  p.BaseDeDatos = ValorParametro(texto, QStringLiteral("@DbName"));
  p.Usuario = ValorParametro(texto, QStringLiteral("@Usuario"));
  p.Password = ValorParametro(texto, QStringLiteral("@Password"));
  p.UsuarioLogeado = ValorParametro(texto, QStringLiteral("@UsuarioLogeado"));
  p.Caja = ValorParametro(texto, QStringLiteral("@Caja"), QStringLiteral("1"));
  return p;
}

QString ParametrosDesdeIni(const QString& servidor, const QString& base, const QString& usuario,
                           const QString& password) {
  return QStringLiteral("@server=") + servidor + QStringLiteral("; @dbname= ") + base +
         QStringLiteral("; @usuario= ") + usuario + QStringLiteral("; @Password= ") + password +
         QStringLiteral("; @ParametroAdicional=; @Caja=1;zola@");
}
