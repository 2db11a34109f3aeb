#pragma once
// The record-action bar: NUEVO, BORRAR, GRABAR, CONSULTAR, REPORTE,
// PLANILLA, CERRAR, CANCELAR. Every button starts disabled; the form that
// owns the bar decides which ones are usable.
#include "platform/widgets/BarraBotones.h"

class ActBar : public BarraBotones {
  Q_OBJECT
 public:
  explicit ActBar(QWidget* parent = nullptr);
};
