#pragma once
// What the lookup request hands to its two dialogs and reads back from them.
#include <QList>
#include <QString>
#include <memory>

#include "platform/core/Value.h"
#include "platform/services/Operador.h"

using Coleccion = QList<ado::Value>;
using ColeccionPtr = std::shared_ptr<Coleccion>;

// What both dialogs share: the statement, what to return, and what they return.
class SolicitudConsulta : public DialogoModal {
 public:
  QString SQL;
  QString CampoDevuelto;
  ColeccionPtr CmpsDevueltos;
  bool CheckBoxes = false;
  QString gConnString;
  ado::Value ValorDevuelto;
  QString FiltroInicial;
  QString CampoBusqueda;
  bool OrdenarPorLwv = false;
  ColeccionPtr Valores;
  ColeccionPtr Cantidades;
  bool UsaCantidades = false;

  // A cancelled dialog returns nothing.
  void DescartarResultados() {
    ValorDevuelto = QString();
    CmpsDevueltos.reset();
    Valores.reset();
  }
};

// The list dialog's public members.
class SolicitudLista : public SolicitudConsulta {
 public:
  static constexpr const char* NombreDialogo = "Lib_FrmCons3";
  QString Nombre() const override { return QString::fromLatin1(NombreDialogo); }

  ado::Value StkNivel1;
  ado::Value StkNivel2;
  ado::Value StkNivel3;
  ado::Value StkNivel4;
  QString MuestraStock;
  QString ValoresDefault;
  bool CfgUsaConsultaLIKE = false;
  // Save the column widths when the dialog closes; set once the operator resizes a column.
  bool GrabarCfg = false;
};

// The tree dialog's public members.
class SolicitudArbol : public SolicitudConsulta {
 public:
  static constexpr const char* NombreDialogo = "Lib_FrmCons3Tree";
  QString Nombre() const override { return QString::fromLatin1(NombreDialogo); }
};
