#include "db/DB_Dll.h"

#include "db/LogDeErrores.h"
#include "platform/services/Utilidades.h"

DB_Dll& DB_Dll::Instancia() {
  static DB_Dll instancia;
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
