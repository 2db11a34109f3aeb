#pragma once
// The dialog "Cambios de otro usuario" as the save sees it: why it appears,
// one row per clashing field with the operator's choice, and the answer.
#include <QString>
#include <vector>

#include "company/rules/FusionCambios.h"
#include "platform/services/Operador.h"

class CambiosDeOtroUsuario : public DialogoModal {
 public:
  static constexpr const char* kNombre = "CambiosDeOtroUsuario";
  QString Nombre() const override { return QString::fromLatin1(kNombre); }

  enum class Motivo {
    Modificada,    // both changed the same fields
    CodigoTomado,  // shown as new, stored meanwhile by another operator
    Eliminada,     // shown as existing, deleted meanwhile
  };
  enum class Respuesta { Cancelar, Grabar };

  struct Fila {
    int campo;  // index in the merge's fields
    QString titulo;
    ClaseDato clase;
    ado::Value mostrado, guardado, pantalla;
    Eleccion eleccion = Eleccion::Ninguna;
  };

  Motivo motivo = Motivo::Modificada;
  QString codigo;
  std::vector<Fila> filas;
  Respuesta respuesta = Respuesta::Cancelar;

  QString Titulo() const { return QStringLiteral("Cambios de otro usuario"); }
  QString Explicacion() const;
  // "Grabar", or "Dar de alta nuevamente" for a deleted company.
  QString TextoGrabar() const;
  // Grabar is offered once every row has its choice.
  bool Completo() const;
  // How a value reads in a row.
  static QString TextoDe(ClaseDato clase, const ado::Value& v);
};
