#include "platform/widgets/ActBar.h"

#include <QApplication>
#include <QStyle>

#include "platform/widgets/CodigosTecla.h"

namespace {

QVector<BarraBotones::Boton> BotonesAccion(QStyle* s) {
  using namespace tecla;
  return {
      {"NUEVO", "Nuevo", s->standardIcon(QStyle::SP_FileIcon), F2, 0, "F2"},
      {"BORRAR", "Borrar", s->standardIcon(QStyle::SP_TrashIcon), F8, 0, "F8"},
      {"GRABAR", "Grabar", s->standardIcon(QStyle::SP_DialogSaveButton), F10, 0, "F10"},
      {"CONSULTAR", "Consultar", s->standardIcon(QStyle::SP_FileDialogContentsView), F3, 0, "F3"},
      {"REPORTE", "Reporte", s->standardIcon(QStyle::SP_FileDialogDetailedView), Letra('R'), Control,
       "Ctrl+R"},
      {"PLANILLA", "Planilla", s->standardIcon(QStyle::SP_FileDialogListView), Letra('P'), Control, "Ctrl+P"},
      {"CERRAR", "Cerrar", s->standardIcon(QStyle::SP_DialogCloseButton), Letra('Q'), Control, "Ctrl+Q"},
      {"CANCELAR", "Cancelar", s->standardIcon(QStyle::SP_DialogCancelButton), Escape, 0, "Esc"},
  };
}

}  // namespace

ActBar::ActBar(QWidget* parent) : BarraBotones(BotonesAccion(QApplication::style()), parent) {
  for (const QString& c : Claves()) SetHabilitado(c, false);
}
