#pragma once
// Two operators, one company: which values this screen changed since the
// company was shown, which another operator changed in the table meanwhile,
// and which both changed differently. Values are compared as the screen
// shows them (trimmed text, the option, the picture's bytes), so that a
// stored value and the same value on screen are equal whatever their types.
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/core/Value.h"

enum class ClaseDato { Texto, Opcion, Imagen };

// Which value a clashing field keeps.
enum class Eleccion { Ninguna, Mia, Guardada };

struct CampoComparado {
  QString columna;
  QString titulo;  // the field's caption on the form
  ClaseDato clase = ClaseDato::Texto;
  ado::Value mostrado;  // when shown (a new company: its empty screen)
  ado::Value pantalla;  // on this screen now
  ado::Value guardado;  // stored now, as of the last Comparar
};

class FusionCambios {
 public:
  explicit FusionCambios(std::vector<CampoComparado> campos);

  struct Comparacion {
    std::vector<int> escribir;  // this screen's changes that the table lacks
    std::vector<int> choques;   // both changed, to different values
    bool Choca() const { return !choques.empty(); }
  };
  // `guardados` in the order of the fields given.
  Comparacion Comparar(const std::vector<ado::Value>& guardados);
  // Settles a clash: Mia writes this screen's value over the stored one seen
  // now, Guardada keeps the stored one. A later change to it clashes again.
  void Resolver(int campo, Eleccion eleccion);

  const std::vector<CampoComparado>& Campos() const { return campos_; }
  // Captions of the fields whose other operator's value the save keeps.
  QStringList Conservados() const;

 private:
  bool CambioPropio(int i) const;
  bool CambioAjeno(int i) const;

  std::vector<CampoComparado> campos_;
  std::vector<ado::Value> base_;  // what a change is measured from
  std::vector<bool> tomados_;     // settled by keeping the stored value
};

// Equal as shown on screen: Null and empty as nothing, bytes as bytes.
bool MismoDato(const ado::Value& a, const ado::Value& b);
