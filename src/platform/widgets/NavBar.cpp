#include "platform/widgets/NavBar.h"

#include <QApplication>
#include <QStyle>

#include "platform/widgets/CodigosTecla.h"

namespace {

QVector<BarraBotones::Boton> BotonesNavegacion(QStyle* s) {
  using namespace tecla;
  return {
      {"PRIMERO", "Primero", s->standardIcon(QStyle::SP_MediaSkipBackward), Inicio, Control, "Ctrl+Inicio"},
      {"ANTERIOR", "Anterior", s->standardIcon(QStyle::SP_MediaSeekBackward), RePag, 0, "RePág"},
      {"SIGUIENTE", "Siguiente", s->standardIcon(QStyle::SP_MediaSeekForward), AvPag, 0, "AvPág"},
      {"ULTIMO", "Ultimo", s->standardIcon(QStyle::SP_MediaSkipForward), Fin, Control, "Ctrl+Fin"},
      {"FILTRAR", "Filtrar", s->standardIcon(QStyle::SP_FileDialogContentsView), Letra('F'), Control,
       "Ctrl+F"},
  };
}

}  // namespace

NavBar::NavBar(QWidget* parent) : BarraBotones(BotonesNavegacion(QApplication::style()), parent) {}
