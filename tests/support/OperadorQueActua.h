#pragma once
// A scripted operator that runs `alAvisar` once, when the next box shows: what
// the operator (or another session) does while the box is on screen.
#include <functional>
#include <utility>

#include "support/OperadorGuionado.h"

class OperadorQueActua : public OperadorGuionado {
 public:
  int MsgBox(const QString& prompt, int style, const QString& title) override {
    if (alAvisar) std::exchange(alAvisar, nullptr)();
    return OperadorGuionado::MsgBox(prompt, style, title);
  }
  std::function<void()> alAvisar;
};
