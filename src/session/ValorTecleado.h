#pragma once
// What a text typed into a field stores, by the field's type: the exact
// number or the date it shows, Null for an empty text, or a refusal that
// says what the field accepts. Text and boolean fields take any text.
#include <QString>
#include <optional>

#include "platform/core/Value.h"

namespace ado {
class Field;
}

enum class ClaseTecleada { Texto, Entero, Exacto, Moneda, Flotante, Fecha };

struct TipoTecleado {
  ClaseTecleada clase = ClaseTecleada::Texto;
  int adoTipo = 0;
  int precision = 0;  // digits in all (Exacto), 0 = unknown
  int escala = 0;     // decimals (Exacto, Moneda)

  static TipoTecleado De(const ado::Field& f);
  bool EsNumero() const;
};

struct Tecleado {
  ado::Value valor;  // as the field takes it: an exact number beyond a double's digits as its plain text
  QString texto;     // how the field shows it again, in the workstation's convention
};

// std::nullopt: refused (MensajeRechazo says why).
std::optional<Tecleado> LeerTecleado(const QString& texto, const TipoTecleado& tipo);
// The refusal's message, naming the field and showing a value it accepts.
QString MensajeRechazo(const QString& campo, const QString& texto, const TipoTecleado& tipo);
// A stored number or date shown as the operator types it, every stored digit kept.
QString TextoAlmacenado(const ado::Value& v, const TipoTecleado& tipo);
