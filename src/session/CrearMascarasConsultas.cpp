#include "session/CrearMascarasConsultas.h"

#include <algorithm>

#include "lookup/ArchivoDefiniciones.h"
#include "lookup/Lib_ClsCons3.h"
#include "platform/core/Error.h"

void CrearMascarasConsultas() {
  mascaras::Agregar(Lib_ClsCons3::Instancia().gRutaMascaraConsultas, mascaras::PorDefecto());
}

void PrepararMascarasConsultas() {
  Lib_ClsCons3& consultas = Lib_ClsCons3::Instancia();
  const QString ruta = consultas.gRutaMascaraConsultas;
  consultas.UsarMascarasEnMemoria(std::nullopt);
  if (mascaras::Entero(ruta)) return;
  // What is whole stays (a full disk may have cut the file short); the
  // defaults it lacks are added.
  const QVector<RegistroMascara> presentes = mascaras::Leer(ruta);
  QVector<RegistroMascara> faltantes;
  for (const RegistroMascara& d : mascaras::PorDefecto()) {
    const bool esta = std::any_of(presentes.cbegin(), presentes.cend(), [&](const RegistroMascara& r) {
      return r.Tabla.trimmed().compare(d.Tabla, Qt::CaseInsensitive) == 0;
    });
    if (!esta) faltantes.push_back(d);
  }
  try {
    mascaras::Agregar(ruta, faltantes);
  } catch (const ado::Failure&) {
    // A folder that is read-only or full: the program goes on with them in memory.
    consultas.UsarMascarasEnMemoria(presentes + faltantes);
  }
}
