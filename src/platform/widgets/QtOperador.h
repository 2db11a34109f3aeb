#pragma once
// The operator interface on Qt: message boxes with the suite's Spanish
// buttons, the input box, the file-open dialog and the registered dialogs.
#include <QMessageBox>
#include <QString>
#include <vector>

#include "platform/services/Operador.h"

// One button of a message box: its answer code and its text.
struct BotonMensaje {
  int respuesta;
  QString texto;
};

// The buttons of a style, in the order shown, and the index of the default one.
std::vector<BotonMensaje> BotonesDeEstilo(int style);
int BotonPorDefecto(int style);
// The answer that Escape (or the close box) gives, or 0 when the box cannot be dismissed.
int RespuestaDeEscape(int style);
QMessageBox::Icon IconoDeEstilo(int style);
// "Imágenes|*.Bmp;*.Jpg" becomes "Imágenes (*.Bmp *.bmp *.BMP *.Jpg *.jpg *.JPG)": file names on this
// system are told apart by letter case, the suite's never were.
QString FiltroQt(const QString& filtro);

class QtOperador : public Operador {
 public:
  int MsgBox(const QString& prompt, int style = vb::OKOnly, const QString& title = {}) override;
  QString InputBox(const QString& prompt, const QString& title = {}, const QString& defecto = {}) override;
  QString AbrirArchivo(const QString& titulo, const QString& filtro, const QString& carpeta = {}) override;
  // Runs the dialog registered under its name; throws ado::Failure when none is.
  QString GuardarArchivo(const QString& titulo, const QString& filtro, const QString& carpeta) override;
  void MostrarModal(DialogoModal& dialogo) override;
  void CursorEspera(bool enEspera) override;
};
