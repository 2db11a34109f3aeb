#include "app/SesionSinVentana.h"

#include <memory>

#include "db/DB_Dll.h"
#include "platform/services/OperadorDeConsola.h"
#include "session/IniciarSesion.h"

bool ConectarSinVentana(const QString& parametros) {
  EstablecerOperador(std::make_shared<OperadorDeConsola>());
  // The switch's own parameter text, never the rest of the command line.
  EstablecerLineaDeComandos(parametros);
  bool terminada = false;
  EstablecerFinDelPrograma([&terminada] { terminada = true; });
  try {
    bool usarIni = false;
    QString texto = parametros, conexion;
    IniciarSesion(usarIni, texto, conexion);
  } catch (const std::exception& e) {
    terminada = true;
    EscribirLinea(stderr, QStringLiteral("MA_Empresas: ") + QString::fromLocal8Bit(e.what()));
  }
  EstablecerFinDelPrograma({});
  auto& db = DB_Dll::Instancia();
  return !terminada && db.gOpenFlag && db.gCnn()->State() == ado::adStateOpen;
}

void EscribirLinea(std::FILE* f, const QString& texto) {
  const QByteArray b = (texto + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), f);
  std::fflush(f);
}
