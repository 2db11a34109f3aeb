#pragma once
// The one way the program talks to the operator: message boxes with the
// numeric style codes, input boxes, the file-open dialog and modal dialogs.
// The application installs the Qt implementation; tests install a scripted one.
#include <QString>
#include <memory>

namespace vb {
// Buttons.
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
// Icons.
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
// Default button.
constexpr int DefaultButton1 = 0;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
// Answers.
constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;

inline int Buttons(int style) { return style & 0x0F; }
inline int Icon(int style) { return style & 0xF0; }
inline int DefaultButton(int style) { return style & 0xF00; }
}  // namespace vb

// A modal dialog as the logic sees it: its data and outcome. The windowing
// layer shows it (the Qt operator looks up a runner by Nombre()); a scripted
// operator fills it in directly.
class DialogoModal {
 public:
  virtual ~DialogoModal() = default;
  virtual QString Nombre() const = 0;
};

class Operador {
 public:
  virtual ~Operador() = default;
  // Returns the answer code 1-7 (vb::OK ... vb::No).
  virtual int MsgBox(const QString& prompt, int style = vb::OKOnly, const QString& title = {}) = 0;
  // Returns the typed text, or "" when cancelled.
  virtual QString InputBox(const QString& prompt, const QString& title = {}, const QString& defecto = {}) = 0;
  // Returns the chosen file, or "" when cancelled.
  virtual QString AbrirArchivo(const QString& titulo, const QString& filtro, const QString& carpeta = {}) = 0;
  // Returns the file to write, or "" when cancelled (an operator without a dialog cancels).
  virtual QString GuardarArchivo(const QString& titulo, const QString& filtro, const QString& carpeta = {}) {
    return {};
  }
  // Shows the dialog modally and returns when it is hidden.
  virtual void MostrarModal(DialogoModal& dialogo) = 0;
  // The wait cursor on while the program waits for the database, off after.
  virtual void CursorEspera(bool enEspera) {}
};

// The installed operator. Throws std::logic_error when none is installed.
Operador& ElOperador();
void EstablecerOperador(std::shared_ptr<Operador> operador);
