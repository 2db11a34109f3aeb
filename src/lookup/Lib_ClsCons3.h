#pragma once
// The single entry point through which the program asks the operator to
// pick a value from a table.
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "lookup/ArchivoDefiniciones.h"
#include "lookup/SolicitudesConsulta.h"
#include "platform/core/Value.h"

class Lib_ClsCons3 {
 public:
  // Reads one setting by key ("" or " " when missing).
  using LectorConfiguracion = std::function<QString(const QString& clave)>;

  static Lib_ClsCons3& Instancia();
  // Reads its settings through the suite's configuration table.
  Lib_ClsCons3();
  explicit Lib_ClsCons3(LectorConfiguracion lector);
  ~Lib_ClsCons3();

  ado::Value StkNivel1;
  ado::Value StkNivel2;
  ado::Value StkNivel3;
  ado::Value StkNivel4;
  QString MuestraStock;
  ColeccionPtr CmpsDevueltos;
  ColeccionPtr Valores;
  ColeccionPtr Cantidades;
  bool Checks = false;
  ado::Value ValorDevuelto;
  QString gConnString;
  QString gRutaMascaraConsultas;
  bool gUsarMascarasConsultas = false;
  bool UsaCantidades = false;
  QString CampoDevuelto;

  // The definitions held in memory instead of the file (one that could not be
  // written); nullopt goes back to the file.
  void UsarMascarasEnMemoria(std::optional<QVector<RegistroMascara>> registros);
  bool MascarasEnMemoria() const { return enMemoria_.has_value(); }

  void ConsultaSearch(QString SQL, ColeccionPtr& CmpsDevueltos, QString& Clave, QString& CampoBusqueda,
                      QString& Where, QString& SentenciaOpcional, bool& TreeView, QString& ValoresDefault);

 private:
  enum class Camino { Listo, TablaDirecta, Terminar };
  Camino DesdeMascaras(const QString& SQL, int limite, QString& CampoBusqueda, const QString& Where,
                       QString& sentencia);
  QString DesdeTabla(const QString& SQL, int limite, QString& CampoBusqueda,
                     const QString& SentenciaOpcional);
  void MostrarLista(const QString& sentencia, ColeccionPtr& cmps, const QString& Clave,
                    const QString& CampoBusqueda, const QString& ValoresDefault);
  void MostrarArbol(const QString& sentencia);

  LectorConfiguracion lector_;
  bool usaLike_ = false;
  std::optional<QVector<RegistroMascara>> enMemoria_;
};
