#include "session/CrearMascarasConsultas.h"

#include "lookup/ArchivoDefiniciones.h"
#include "lookup/Lib_ClsCons3.h"

void CrearMascarasConsultas() {
  mascaras::Agregar(Lib_ClsCons3::Instancia().gRutaMascaraConsultas, mascaras::PorDefecto());
}
