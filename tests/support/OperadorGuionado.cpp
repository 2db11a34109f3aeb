#include "support/OperadorGuionado.h"

#include "platform/services/DialogosPorNombre.h"

std::shared_ptr<OperadorGuionado> OperadorGuionado::Instalar() {
  auto op = std::make_shared<OperadorGuionado>();
  EstablecerOperador(op);
  return op;
}

void OperadorGuionado::CursorEspera(bool on) {
  if (on && !enEspera) ++esperas;
  enEspera = on;
}

int OperadorGuionado::MsgBox(const QString& prompt, int style, const QString& title) {
  mensajes.push_back({prompt, style, title});
  if (enEspera) ++cajasEnEspera;
  if (!respuestas.empty()) {
    const int r = respuestas.front();
    respuestas.pop_front();
    return r;
  }
  ++sinGuion;
  switch (vb::Buttons(style)) {
    case vb::OKCancel:
      return vb::OK;
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

QString OperadorGuionado::InputBox(const QString& prompt, const QString& title, const QString& defecto) {
  entradas.push_back({prompt, 0, title});
  if (textos.empty()) return QString();
  QString t = textos.front();
  textos.pop_front();
  return t;
}

QString OperadorGuionado::AbrirArchivo(const QString& titulo, const QString& filtro, const QString&) {
  filtros << filtro;
  entradas.push_back({titulo, 0, QString()});
  if (archivos.empty()) return QString();
  QString a = archivos.front();
  archivos.pop_front();
  return a;
}

void OperadorGuionado::MostrarModal(DialogoModal& dialogo) {
  dialogos << dialogo.Nombre();
  if (!manejadores.empty()) {
    Manejador m = std::move(manejadores.front());
    manejadores.pop_front();
    m(dialogo);
    return;
  }
  if (const MostrarDialogo* mostrar = BuscarDialogo(dialogo.Nombre())) (*mostrar)(dialogo);
}
