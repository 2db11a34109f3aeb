#pragma once
// Driving widgets from tests: the test program's application object, keys
// delivered as the windowing system delivers them, and actions on a modal
// window once it is up. Header-only: test_support links Qt Core alone.
#include <errno.h>  // program_invocation_name

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <type_traits>

inline QApplication& App() {
  static int argc = 1;
  static char* argv[] = {program_invocation_name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Press and release, through the application so that an ignored key reaches the parents.
inline void Tecla(QWidget* w, Qt::Key k) {
  QKeyEvent pulsar(QEvent::KeyPress, k, Qt::NoModifier);
  QApplication::sendEvent(w, &pulsar);
  QKeyEvent soltar(QEvent::KeyRelease, k, Qt::NoModifier);
  QApplication::sendEvent(w, &soltar);
}

// Acts on the modal window (of type Ventana) as soon as its event loop has
// shown it; until then the check comes round again from the event loop.
template <class Ventana = QWidget>
void AlAbrir(std::type_identity_t<std::function<void(Ventana*)>> accion) {
  QTimer::singleShot(0, [accion] {
    auto* w = qobject_cast<Ventana*>(QApplication::activeModalWidget());
    if (!w) {
      AlAbrir<Ventana>(accion);
      return;
    }
    accion(w);
  });
}
