#pragma once
// The record-navigation bar: PRIMERO, ANTERIOR, SIGUIENTE, ULTIMO, FILTRAR.
#include "platform/widgets/BarraBotones.h"

class NavBar : public BarraBotones {
  Q_OBJECT
 public:
  explicit NavBar(QWidget* parent = nullptr);
};
