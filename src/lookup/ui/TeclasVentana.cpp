#include "lookup/ui/TeclasVentana.h"

namespace teclas_qt {

int Codigo(const QKeyEvent& e) {
  const int k = e.key();
  switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Tab:
      return 9;
    default:
      break;
  }
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return 112 + (k - Qt::Key_F1);
  if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z)) return k;
  if (!e.text().isEmpty() && e.text().at(0).isPrint()) return Qt::Key_A;
  return 0;
}

int Shift(const QKeyEvent& e) {
  int s = 0;
  if (e.modifiers() & Qt::ShiftModifier) s |= 1;
  if (e.modifiers() & Qt::ControlModifier) s |= 2;
  if (e.modifiers() & Qt::AltModifier) s |= 4;
  return s;
}

}  // namespace teclas_qt
