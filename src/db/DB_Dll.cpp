#include "db/DB_Dll.h"

#include "db/LogDeErrores.h"
#include "db/TraduccionOracle.h"
#include "platform/client/Busy.h"
#include "platform/client/Translation.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

const QString DB_Dll::kAvisoConexionPerdida = QStringLiteral(
    "Se perdió la conexión con la base de datos. El programa vuelve a conectarse y repite la operación.");

DB_Dll& DB_Dll::Instancia() {
  static DB_Dll instancia;
  // Every trap and every statement of the program meets the shared connection's faults this way.
  static const bool enlazada = [] {
    trampa::EstablecerRecuperacion([](const ado::ErrorInfo& e) { return Instancia().RecuperarConexion(e); });
    ado::SetBusyHook([](bool enEspera) { ElOperador().CursorEspera(enEspera); });
    // Every statement to Oracle, whoever sends it, goes through the suite's translation.
    ado::SetTranslation(ado::Dialect::Oracle, [](const QString& s) {
      return TraducirSentenciaOracle(s, Instancia().Servicios().ContarPalabras(s));
    });
    return true;
  }();
  (void)enlazada;
  return instancia;
}

DB_Dll::DB_Dll() {
  // The services' error boxes go to the same log as the database's own.
  Utilidades::FijarTestigoDeErrores(&logerrores::AnotarRespuesta);
}

DB_Dll::~DB_Dll() = default;

ado::ConnectionPtr& DB_Dll::gCnn() {
  if (!cnn_) cnn_ = ado::Connection::Create();
  return cnn_;
}

Utilidades& DB_Dll::Servicios() {
  if (!util_) util_ = std::make_unique<Utilidades>();
  return *util_;
}

bool DB_Dll::RecuperarConexion(const ado::ErrorInfo&) {
  const int perdidas = gCnn()->Losses();
  if (perdidas != perdidasAvisadas_) {
    perdidasAvisadas_ = perdidas;
    logerrores::Avisar(QStringLiteral("Conexion"), kAvisoConexionPerdida, vb::Exclamation,
                       QStringLiteral("Aviso al operador..."));
  }
  return true;
}
