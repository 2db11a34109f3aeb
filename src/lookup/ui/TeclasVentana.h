#pragma once
// Qt key events as the lookup logic reads them: the windowing system's key
// codes and shift state.
#include <QKeyEvent>

namespace teclas_qt {

// The key code of the event; printable keys without a code of their own get
// a code of the typing range, their character travelling in the event's text.
int Codigo(const QKeyEvent& e);
// 1 = Shift, 2 = Ctrl, 4 = Alt.
int Shift(const QKeyEvent& e);
// Twips and pixels at the windowing system's 15 twips per pixel.
inline int Px(double twips) { return qRound(twips / 15.0); }
inline double Tw(int px) { return px * 15.0; }

}  // namespace teclas_qt
