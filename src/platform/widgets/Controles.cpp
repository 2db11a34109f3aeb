#include "platform/widgets/Controles.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVariant>

#include "platform/widgets/CodigosTecla.h"

Controles& Controles::Compartido() {
  static Controles c;
  return c;
}

void Controles::LimpiarFormulario(QWidget* formulario) const {
  if (!formulario) return;
  for (QWidget* w : formulario->findChildren<QWidget*>()) {
    if (w->property("DataField").isValid()) PonerTexto(w, QString());
    if (auto* c = qobject_cast<QComboBox*>(w)) c->setCurrentIndex(-1);
  }
}

void Controles::PrepararCampos(const QVector<QWidget*>& campos, const QString&, const QString&) const {
  for (QWidget* w : campos) {
    if (auto* l = qobject_cast<QLineEdit*>(w)) {
      l->setInputMask(QString());
      l->setCursorPosition(0);
      l->setModified(false);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
      p->moveCursor(QTextCursor::Start);
      p->document()->setModified(false);
    }
  }
}

bool Controles::EsTeclaAvance(int codigoTecla) const { return codigoTecla == tecla::Enter; }

void Controles::AvanzarFoco(int codigoTecla) const {
  if (!EsTeclaAvance(codigoTecla)) return;
  QWidget* actual = QApplication::focusWidget();
  if (!actual) return;
  // Next enabled widget in the tab chain that takes the focus by tab.
  QWidget* w = actual->nextInFocusChain();
  while (w && w != actual) {
    if (w->isEnabled() && w->isVisibleTo(actual->window()) && (w->focusPolicy() & Qt::TabFocus) &&
        w->window() == actual->window()) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
    w = w->nextInFocusChain();
  }
}

void Controles::FiltrarTecla(QWidget*, int&) const {}

QString Controles::SeparadorDecimal() const { return QLocale().decimalPoint().left(1); }

int Controles::IndiceCampo(const QString& columna, const QVector<QWidget*>& campos) const {
  for (int i = 0; i < campos.size(); ++i)
    if (campos[i] &&
        campos[i]->property("DataField").toString().compare(columna.trimmed(), Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

QString Controles::Texto(const QWidget* campo) {
  if (auto* l = qobject_cast<const QLineEdit*>(campo)) return l->text();
  if (auto* p = qobject_cast<const QPlainTextEdit*>(campo)) return p->toPlainText();
  return QString();
}

void Controles::PonerTexto(QWidget* campo, const QString& texto) {
  if (auto* l = qobject_cast<QLineEdit*>(campo))
    l->setText(texto);
  else if (auto* p = qobject_cast<QPlainTextEdit*>(campo))
    p->setPlainText(texto);
}

void Controles::Seleccionar(QWidget* campo, int inicio, int largo) {
  if (auto* l = qobject_cast<QLineEdit*>(campo)) {
    l->setSelection(inicio, largo);
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(campo)) {
    QTextCursor c = p->textCursor();
    c.setPosition(inicio);
    c.setPosition(inicio + largo, QTextCursor::KeepAnchor);
    p->setTextCursor(c);
  }
}

int Controles::CodigoTecla(const QKeyEvent* e) {
  const int k = e->key();
  switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return tecla::Enter;
    case Qt::Key_Escape:
      return tecla::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return tecla::Tab;
    case Qt::Key_Backspace:
      return tecla::Retroceso;
    case Qt::Key_Space:
      return tecla::Espacio;
    case Qt::Key_PageUp:
      return tecla::RePag;
    case Qt::Key_PageDown:
      return tecla::AvPag;
    case Qt::Key_End:
      return tecla::Fin;
    case Qt::Key_Home:
      return tecla::Inicio;
    case Qt::Key_Left:
      return tecla::Izquierda;
    case Qt::Key_Up:
      return tecla::Arriba;
    case Qt::Key_Right:
      return tecla::Derecha;
    case Qt::Key_Down:
      return tecla::Abajo;
    case Qt::Key_Delete:
      return tecla::Suprimir;
    default:
      break;
  }
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return tecla::F1 + (k - Qt::Key_F1);
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return k;
  return 0;
}

int Controles::EstadoShift(const QKeyEvent* e) {
  int s = 0;
  if (e->modifiers() & Qt::ShiftModifier) s |= tecla::Mayusculas;
  if (e->modifiers() & Qt::ControlModifier) s |= tecla::Control;
  if (e->modifiers() & Qt::AltModifier) s |= tecla::Alt;
  return s;
}

int Controles::CaracterTecla(const QKeyEvent* e) {
  const QString t = e->text();
  if (t.size() != 1) return 0;
  return t.at(0).unicode();
}
