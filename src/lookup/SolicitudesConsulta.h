#pragma once
// What the lookup request hands to its two dialogs and reads back from them.
#include <QList>
#include <QString>
#include <memory>

#include "platform/core/Value.h"
#include "platform/services/Operador.h"

using Coleccion = QList<ado::Value>;
using ColeccionPtr = std::shared_ptr<Coleccion>;

// The list dialog's public members.
class SolicitudLista : public DialogoModal {
 public:
  static constexpr const char* NombreDialogo = "Lib_FrmCons3";
  QString Nombre() const override { return QString::fromLatin1(NombreDialogo); }

  ado::Value StkNivel1;
  ado::Value StkNivel2;
  ado::Value StkNivel3;
  ado::Value StkNivel4;
  QString MuestraStock;
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
  QString ValoresDefault;
  bool CfgUsaConsultaLIKE = false;
  // Save the column widths when the dialog closes; the program never sets it.
  bool GrabarCfg = false;
};

// The tree dialog's public members.
class SolicitudArbol : public DialogoModal {
 public:
  static constexpr const char* NombreDialogo = "Lib_FrmCons3Tree";
  QString Nombre() const override { return QString::fromLatin1(NombreDialogo); }

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
};
