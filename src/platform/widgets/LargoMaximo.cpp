#include "platform/widgets/LargoMaximo.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QValidator>

namespace largo {
namespace {

class ValidadorLargo : public QValidator {
 public:
  ValidadorLargo(int maximo, QObject* padre) : QValidator(padre), maximo_(maximo) {}
  State validate(QString& texto, int& cursor) const override {
    texto = Recortar(texto, cursor, maximo_);
    return Acceptable;
  }

 private:
  int maximo_;
};

constexpr const char* kPropiedad = "LargoMaximo";

void LimitarTextoLargo(QPlainTextEdit* p, int maximo) {
  const bool conectado = p->property(kPropiedad).isValid();
  p->setProperty(kPropiedad, maximo);
  if (conectado) return;
  QPointer<QPlainTextEdit> caja(p);
  QObject::connect(p->document(), &QTextDocument::contentsChange, p, [caja](int desde, int, int agregados) {
    if (!caja) return;
    const int tope = caja->property(kPropiedad).toInt();
    const QString texto = caja->toPlainText();
    if (tope <= 0 || Caracteres(texto) <= tope) return;
    int fin = desde + agregados;
    const QString recortado = Recortar(texto, fin, tope);
    // What was cut lies right before the end of the change.
    const int quitar = static_cast<int>(texto.size() - recortado.size());
    QTextCursor c(caja->document());
    c.setPosition(fin);
    c.setPosition(fin + quitar, QTextCursor::KeepAnchor);
    c.removeSelectedText();
  });
}

}  // namespace

int Caracteres(const QString& texto) {
  int n = 0;
  for (QChar c : texto)
    if (!c.isLowSurrogate()) ++n;
  return n;
}

QString Recortar(const QString& texto, int& cursor, int maximo) {
  int sobra = maximo > 0 ? Caracteres(texto) - maximo : 0;
  if (sobra <= 0) return texto;
  int fin = qBound(0, cursor, static_cast<int>(texto.size()));
  int inicio = fin;
  while (sobra > 0 && inicio > 0) {
    --inicio;
    if (texto.at(inicio).isLowSurrogate() && inicio > 0 && texto.at(inicio - 1).isHighSurrogate()) --inicio;
    --sobra;
  }
  QString r = texto.left(inicio) + texto.mid(fin);
  cursor = inicio;
  // Text before the cursor was not enough: the rest goes from the end.
  while (sobra-- > 0 && !r.isEmpty()) r.chop(r.size() > 1 && r.back().isLowSurrogate() ? 2 : 1);
  cursor = qMin(cursor, static_cast<int>(r.size()));
  return r;
}

void Limitar(QWidget* campo, int maximo) {
  if (auto* l = qobject_cast<QLineEdit*>(campo)) {
    const QValidator* anterior = l->validator();
    l->setValidator(maximo > 0 ? new ValidadorLargo(maximo, l) : nullptr);
    if (auto* propio = dynamic_cast<const ValidadorLargo*>(anterior)) delete propio;
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(campo)) {
    LimitarTextoLargo(p, maximo);
  }
}

}  // namespace largo
