#include "support/OperadorGuionado.h"

#include <gtest/gtest.h>

#include "platform/services/DialogosPorNombre.h"

namespace {

// The operators installed during the running test, kept until it ends so
// that what they still hold can be checked then.
std::vector<std::shared_ptr<OperadorGuionado>>& DeEstaPrueba() {
  static std::vector<std::shared_ptr<OperadorGuionado>> v;
  return v;
}

class AlTerminarCadaPrueba : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo&) override {
    for (const auto& op : DeEstaPrueba()) op->ComprobarGuionAgotado();
    DeEstaPrueba().clear();
  }
};

int PrimerBoton(int style) {
  switch (vb::Buttons(style)) {
    case vb::AbortRetryIgnore:
      return vb::Abort;
    case vb::YesNoCancel:
    case vb::YesNo:
      return vb::Yes;
    case vb::RetryCancel:
      return vb::Retry;
    default:
      return vb::OK;
  }
}

std::string Texto(const QString& s) { return s.toStdString(); }

}  // namespace

void OperadorGuionado::Vigilar(std::shared_ptr<OperadorGuionado> op) {
  // Appended after the default printer: its end-of-test check is then
  // reported as part of the test that is ending.
  static const bool vigilando = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new AlTerminarCadaPrueba);
    return true;
  }();
  (void)vigilando;
  DeEstaPrueba().push_back(op);
  EstablecerOperador(std::move(op));
}

void OperadorGuionado::MostrarComoElPrograma() {
  AlMostrar([](DialogoModal& d) {
    const MostrarDialogo* mostrar = BuscarDialogo(d.Nombre());
    if (!mostrar) {
      ADD_FAILURE() << "no window registered for the dialog " << Texto(d.Nombre());
      return;
    }
    (*mostrar)(d);
  });
}

void OperadorGuionado::CursorEspera(bool on) {
  if (on && !enEspera) ++esperas;
  enEspera = on;
}

int OperadorGuionado::MsgBox(const QString& prompt, int style, const QString& title) {
  mensajes.push_back({prompt, style, title});
  if (enEspera) ++cajasEnEspera;
  if (respuestas.empty()) {
    ADD_FAILURE() << "unexpected message box \"" << Texto(title) << "\" (style " << style
                  << "): " << Texto(prompt);
    return PrimerBoton(style);
  }
  const int r = respuestas.front();
  respuestas.pop_front();
  return r;
}

QString OperadorGuionado::InputBox(const QString& prompt, const QString& title, const QString&) {
  entradas.push_back({prompt, 0, title});
  if (textos.empty()) {
    ADD_FAILURE() << "unexpected input box \"" << Texto(title) << "\": " << Texto(prompt);
    return QString();
  }
  QString t = textos.front();
  textos.pop_front();
  return t;
}

QString OperadorGuionado::AbrirArchivo(const QString& titulo, const QString& filtro, const QString&) {
  filtros << filtro;
  entradas.push_back({titulo, 0, QString()});
  if (archivos.empty()) {
    ADD_FAILURE() << "unexpected file dialog \"" << Texto(titulo) << "\"";
    return QString();
  }
  QString a = archivos.front();
  archivos.pop_front();
  return a;
}

QString OperadorGuionado::GuardarArchivo(const QString& titulo, const QString& filtro,
                                         const QString& carpeta) {
  return AbrirArchivo(titulo, filtro, carpeta);
}

void OperadorGuionado::MostrarModal(DialogoModal& dialogo) {
  dialogos << dialogo.Nombre();
  if (manejadores.empty()) {
    ADD_FAILURE() << "unexpected dialog " << Texto(dialogo.Nombre());
    return;
  }
  Manejador m = std::move(manejadores.front());
  manejadores.pop_front();
  m(dialogo);
}

void OperadorGuionado::ComprobarGuionAgotado() {
  for (int r : respuestas)
    ADD_FAILURE() << "a message box answered " << r << " was expected and never appeared";
  for (const QString& t : textos)
    ADD_FAILURE() << "an input box was expected and never appeared: " << Texto(t);
  for (const QString& a : archivos)
    ADD_FAILURE() << "a file dialog was expected and never appeared: " << Texto(a);
  if (!manejadores.empty())
    ADD_FAILURE() << manejadores.size() << " modal dialog(s) expected and never shown";
  respuestas.clear();
  textos.clear();
  archivos.clear();
  manejadores.clear();
}
