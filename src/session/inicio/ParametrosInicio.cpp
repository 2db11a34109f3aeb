#include "session/inicio/ParametrosInicio.h"

#include "platform/services/Utilidades.h"

QString ValorParametro(const QString& texto, const QString& clave, const QString& defecto) {
  const int pos = texto.indexOf(clave, 0, Qt::CaseInsensitive);
  if (pos < 0 || clave.isEmpty()) return defecto;
  const int inicio = pos + static_cast<int>(clave.size());
  const int puntoYComa = texto.indexOf(QLatin1Char(';'), pos);
  const int n = puntoYComa < 0 ? static_cast<int>(clave.size()) : puntoYComa - inicio;
  return Utilidades::Compartido().QuitarCaracteres(texto.mid(inicio, n), QStringLiteral("=")).trimmed();
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
