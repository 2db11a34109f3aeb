#include "platform/services/OperadorDeConsola.h"

#include <QStringList>

namespace {

// Boxes separate lines with a carriage return, as the suite's forms do.
QString Lineas(QString texto) {
  texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return texto.trimmed();
}

QString NombreRespuesta(int respuesta) {
  switch (respuesta) {
    case vb::OK:
      return QStringLiteral("Aceptar");
    case vb::Cancel:
      return QStringLiteral("Cancelar");
    case vb::Abort:
      return QStringLiteral("Anular");
    case vb::No:
      return QStringLiteral("No");
    default:
      return QString::number(respuesta);
  }
}

}  // namespace

int OperadorDeConsola::RespuestaSinOperador(int style) {
  switch (vb::Buttons(style)) {
    case vb::OKCancel:
    case vb::YesNoCancel:
    case vb::RetryCancel:
      return vb::Cancel;
    case vb::AbortRetryIgnore:
      return vb::Abort;
    case vb::YesNo:
      return vb::No;
    default:
      return vb::OK;
  }
}

void OperadorDeConsola::Escribir(const QString& texto) {
  const QByteArray bytes = (texto + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), salida_);
  std::fflush(salida_);
}

int OperadorDeConsola::MsgBox(const QString& prompt, int style, const QString& title) {
  const int respuesta = RespuestaSinOperador(style);
  QStringList partes;
  if (!title.trimmed().isEmpty()) partes << Lineas(title) + QLatin1Char(':');
  partes << Lineas(prompt);
  // Only a box with a choice says which one was taken for the absent operator.
  if (vb::Buttons(style) != vb::OKOnly)
    partes << QStringLiteral("(sin operador: %1)").arg(NombreRespuesta(respuesta));
  Escribir(partes.join(QLatin1Char(' ')));
  return respuesta;
}

QString OperadorDeConsola::InputBox(const QString& prompt, const QString& title, const QString&) {
  Escribir(Lineas(prompt) + QStringLiteral(" (sin operador: Cancelar)"));
  return {};
}

QString OperadorDeConsola::AbrirArchivo(const QString& titulo, const QString&, const QString&) {
  Escribir(Lineas(titulo) + QStringLiteral(" (sin operador: Cancelar)"));
  return {};
}

QString OperadorDeConsola::GuardarArchivo(const QString& titulo, const QString&, const QString&) {
  Escribir(Lineas(titulo) + QStringLiteral(" (sin operador: Cancelar)"));
  return {};
}

void OperadorDeConsola::MostrarModal(DialogoModal& dialogo) {
  // The dialog keeps its outcome unset, which every caller reads as cancelled.
  Escribir(
      QStringLiteral("El diálogo %1 necesita un operador (sin operador: Cancelar)").arg(dialogo.Nombre()));
}
