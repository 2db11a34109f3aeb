#include "platform/widgets/QtOperador.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>
#include <QSet>

#include "platform/core/Error.h"
#include "platform/services/DialogosPorNombre.h"
#include "platform/widgets/CursorEspera.h"

namespace {

BotonMensaje Boton(int respuesta) {
  switch (respuesta) {
    case vb::OK:
      return {respuesta, QStringLiteral("Aceptar")};
    case vb::Cancel:
      return {respuesta, QStringLiteral("Cancelar")};
    case vb::Abort:
      return {respuesta, QStringLiteral("Anular")};
    case vb::Retry:
      return {respuesta, QStringLiteral("Reintentar")};
    case vb::Ignore:
      return {respuesta, QStringLiteral("Omitir")};
    case vb::Yes:
      return {respuesta, QStringLiteral("Sí")};
    default:
      return {vb::No, QStringLiteral("No")};
  }
}

QMessageBox::ButtonRole Rol(int respuesta) {
  switch (respuesta) {
    case vb::OK:
    case vb::Yes:
      return QMessageBox::AcceptRole;
    case vb::No:
      return QMessageBox::NoRole;
    case vb::Cancel:
      return QMessageBox::RejectRole;
    default:
      return QMessageBox::ActionRole;
  }
}

QString Titulo(const QString& title) {
  if (!title.isEmpty()) return title;
  const QString app = QCoreApplication::applicationName();
  return app.isEmpty() ? QStringLiteral("MA_Empresas") : app;
}

}  // namespace

std::vector<BotonMensaje> BotonesDeEstilo(int style) {
  std::vector<int> r;
  switch (vb::Buttons(style)) {
    case vb::OKCancel:
      r = {vb::OK, vb::Cancel};
      break;
    case vb::AbortRetryIgnore:
      r = {vb::Abort, vb::Retry, vb::Ignore};
      break;
    case vb::YesNoCancel:
      r = {vb::Yes, vb::No, vb::Cancel};
      break;
    case vb::YesNo:
      r = {vb::Yes, vb::No};
      break;
    case vb::RetryCancel:
      r = {vb::Retry, vb::Cancel};
      break;
    default:
      r = {vb::OK};
  }
  std::vector<BotonMensaje> botones;
  for (int x : r) botones.push_back(Boton(x));
  return botones;
}

int BotonPorDefecto(int style) {
  const int n = static_cast<int>(BotonesDeEstilo(style).size());
  int i = 0;
  if (vb::DefaultButton(style) == vb::DefaultButton2) i = 1;
  if (vb::DefaultButton(style) == vb::DefaultButton3) i = 2;
  return i < n ? i : 0;
}

int RespuestaDeEscape(int style) {
  switch (vb::Buttons(style)) {
    case vb::OKOnly:
      return vb::OK;
    case vb::OKCancel:
    case vb::YesNoCancel:
    case vb::RetryCancel:
      return vb::Cancel;
    case vb::YesNo:
      return vb::No;
    default:
      // Abort/Retry/Ignore needs an explicit choice.
      return 0;
  }
}

QMessageBox::Icon IconoDeEstilo(int style) {
  switch (vb::Icon(style)) {
    case vb::Critical:
      return QMessageBox::Critical;
    case vb::Question:
      return QMessageBox::Question;
    case vb::Exclamation:
      return QMessageBox::Warning;
    case vb::Information:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QString FiltroQt(const QString& filtro) {
  const QStringList partes = filtro.split(QLatin1Char('|'));
  QStringList salida;
  for (int i = 0; i + 1 < partes.size(); i += 2) {
    QStringList patrones;
    QSet<QString> vistos;
    for (const QString& p : partes[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      for (const QString& v : {p.trimmed(), p.trimmed().toLower(), p.trimmed().toUpper()}) {
        if (v.isEmpty() || vistos.contains(v)) continue;
        vistos.insert(v);
        patrones << v;
      }
    }
    salida << partes[i].trimmed() + QStringLiteral(" (") + patrones.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  if (salida.isEmpty() && !filtro.trimmed().isEmpty()) salida << filtro.trimmed();
  return salida.join(QStringLiteral(";;"));
}

int QtOperador::MsgBox(const QString& prompt, int style, const QString& title) {
  const CursorNormalMientras normal;
  QMessageBox box(IconoDeEstilo(style), Titulo(title),
                  QString(prompt).replace(QLatin1Char('\r'), QLatin1Char('\n')), QMessageBox::NoButton,
                  QApplication::activeWindow());
  // A screen reader reads the box as its title and its text.
  box.setAccessibleName(box.windowTitle());
  box.setAccessibleDescription(box.text());
  const std::vector<BotonMensaje> botones = BotonesDeEstilo(style);
  std::vector<QPushButton*> creados;
  for (const auto& b : botones) creados.push_back(box.addButton(b.texto, Rol(b.respuesta)));
  box.setDefaultButton(creados[BotonPorDefecto(style)]);
  const int escape = RespuestaDeEscape(style);
  for (std::size_t i = 0; i < botones.size(); ++i)
    if (botones[i].respuesta == escape) box.setEscapeButton(creados[i]);
  box.exec();
  for (std::size_t i = 0; i < botones.size(); ++i)
    if (box.clickedButton() == creados[i]) return botones[i].respuesta;
  return escape ? escape : botones.front().respuesta;
}

QString QtOperador::InputBox(const QString& prompt, const QString& title, const QString& defecto) {
  const CursorNormalMientras normal;
  QInputDialog dlg(QApplication::activeWindow());
  dlg.setWindowTitle(Titulo(title));
  dlg.setLabelText(prompt);
  dlg.setTextValue(defecto);
  dlg.setOkButtonText(QStringLiteral("Aceptar"));
  dlg.setCancelButtonText(QStringLiteral("Cancelar"));
  if (dlg.exec() != QDialog::Accepted) return QString();
  return dlg.textValue();
}

QString QtOperador::AbrirArchivo(const QString& titulo, const QString& filtro, const QString& carpeta) {
  const CursorNormalMientras normal;
  return QFileDialog::getOpenFileName(QApplication::activeWindow(), titulo, carpeta, FiltroQt(filtro));
}

QString QtOperador::GuardarArchivo(const QString& titulo, const QString& filtro, const QString& carpeta) {
  const CursorNormalMientras normal;
  return QFileDialog::getSaveFileName(QApplication::activeWindow(), titulo, carpeta, FiltroQt(filtro));
}

void QtOperador::MostrarModal(DialogoModal& dialogo) {
  const MostrarDialogo* mostrar = BuscarDialogo(dialogo.Nombre());
  if (!mostrar)
    throw ado::Failure(ado::err::InvalidCall,
                       QStringLiteral("No hay un diálogo registrado con el nombre ") + dialogo.Nombre());
  (*mostrar)(dialogo);
}

void QtOperador::CursorEspera(bool enEspera) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  if (enEspera)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}
