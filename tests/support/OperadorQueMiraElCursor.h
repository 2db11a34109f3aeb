#pragma once
// The scripted operator, noting the pointer each box came up with (a Qt
// cursor shape; -1 for the normal pointer). Header-only: it needs Qt GUI.
#include <QCursor>
#include <QGuiApplication>
#include <vector>

#include "support/OperadorGuionado.h"

class OperadorQueMiraElCursor : public OperadorGuionado {
 public:
  int MsgBox(const QString& prompt, int style, const QString& title) override {
    const QCursor* c = QGuiApplication::overrideCursor();
    cursores.push_back(c ? c->shape() : -1);
    return OperadorGuionado::MsgBox(prompt, style, title);
  }
  std::vector<int> cursores;
};
