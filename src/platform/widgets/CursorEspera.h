#pragma once
// The wait cursor for as long as the guard lives: a long read or save shows
// the operator that the program is busy, not hung.
#include <QGuiApplication>

class CursorEspera {
 public:
  CursorEspera() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~CursorEspera() { QGuiApplication::restoreOverrideCursor(); }
  CursorEspera(const CursorEspera&) = delete;
  CursorEspera& operator=(const CursorEspera&) = delete;
};

// The normal pointer while the operator answers a box inside a long task.
class CursorNormalMientras {
 public:
  CursorNormalMientras() : activo_(QGuiApplication::overrideCursor() != nullptr) {
    if (activo_) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~CursorNormalMientras() {
    if (activo_) QGuiApplication::restoreOverrideCursor();
  }
  CursorNormalMientras(const CursorNormalMientras&) = delete;
  CursorNormalMientras& operator=(const CursorNormalMientras&) = delete;

 private:
  bool activo_;
};
