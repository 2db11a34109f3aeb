#pragma once
// The single entry point through which the program asks the operator to
// pick a value from a table.
#include <QList>
#include <QString>
#include <memory>

#include "platform/core/Value.h"

using Coleccion = QList<ado::Value>;
using ColeccionPtr = std::shared_ptr<Coleccion>;

class Lib_ClsCons3 {
 public:
  static Lib_ClsCons3& Instancia();
  Lib_ClsCons3();
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

  void ConsultaSearch(QString SQL, ColeccionPtr& CmpsDevueltos, QString& Clave, QString& CampoBusqueda,
                      QString& Where, QString& SentenciaOpcional, bool& TreeView, QString& ValoresDefault);

 private:
  bool usaLike_ = false;
};
