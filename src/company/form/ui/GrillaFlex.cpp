#include "company/form/ui/GrillaFlex.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "platform/widgets/CodigosTecla.h"
#include "platform/widgets/Controles.h"
#include "platform/widgets/LargoMaximo.h"

namespace {
constexpr int kTwipsPorPixel = 15;  // at 96 dots per inch
}

GrillaFlex::GrillaFlex(QWidget* parent) : QTableWidget(1, 2, parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  // Tab leaves the grid. It must not move the current cell either: hiding the
  // focused editor passes the focus on as Tab does, and Escape or a click
  // elsewhere would otherwise leave the operator one cell further on.
  setTabKeyNavigation(false);
  horizontalHeader()->setStretchLastSection(true);
  Estilo(0);
}

void GrillaFlex::Estilo(int fila) {
  for (int c = 0; c < columnCount(); ++c) {
    QTableWidgetItem* it = item(fila, c);
    if (!it) {
      it = new QTableWidgetItem;
      setItem(fila, c, it);
    }
    const bool fija = fila == 0 || c == 0;
    // Fixed cells are not enabled, so that neither keys nor clicks make one current.
    it->setFlags(fija ? Qt::NoItemFlags : (Qt::ItemIsEnabled | Qt::ItemIsSelectable));
    if (fija) {
      it->setBackground(palette().button());
      it->setForeground(palette().buttonText());
    }
    QFont f = it->font();
    f.setBold(fila == 0);
    it->setFont(f);
  }
}

void GrillaFlex::SetRows(int filas) {
  const int antes = rowCount();
  setRowCount(filas);
  for (int f = antes; f < filas; ++f) Estilo(f);
  if (fijas_ >= filas) fijas_ = 0;
}

void GrillaFlex::SetFixedRows(int filas) {
  fijas_ = filas;
  if (rowCount() > fijas_ && currentRow() < fijas_) setCurrentCell(fijas_, 1);
}

QString GrillaFlex::TextMatrix(int fila, int columna) const {
  const QTableWidgetItem* it = item(fila, columna);
  return it ? it->text() : QString();
}

void GrillaFlex::SetTextMatrix(int fila, int columna, const QString& texto) {
  if (!item(fila, columna)) Estilo(fila);
  item(fila, columna)->setText(texto);
}

void GrillaFlex::SetRow(int fila) { setCurrentCell(fila, qMax(1, currentColumn())); }

void GrillaFlex::SetCol(int columna) { setCurrentCell(qMax(fijas_, currentRow()), qMax(1, columna)); }

void GrillaFlex::SetColWidth(int columna, int twips) { setColumnWidth(columna, twips / kTwipsPorPixel); }

void GrillaFlex::keyPressEvent(QKeyEvent* e) {
  const int caracter = Controles::CaracterTecla(e);
  if (caracter > 0 && alTeclear && currentRow() >= 0 && e->key() != Qt::Key_Tab &&
      e->key() != Qt::Key_Backtab) {
    alTeclear(caracter);
    return;
  }
  QTableWidget::keyPressEvent(e);
}

void GrillaFlex::mouseDoubleClickEvent(QMouseEvent* e) {
  QTableWidget::mouseDoubleClickEvent(e);
  if (alDobleClic && currentRow() >= 0) alDobleClic();
}

void GrillaFlex::focusInEvent(QFocusEvent* e) {
  QTableWidget::focusInEvent(e);
  if (alRecibirFoco) alRecibirFoco();
}

EditorFlex::EditorFlex(GrillaFlex* grilla) : QLineEdit(grilla->viewport()), grilla_(grilla) { hide(); }

void EditorFlex::SetSelStart(int posicion) {
  deselect();
  setCursorPosition(qMin(posicion, text().size()));
}

void EditorFlex::SetLargoMaximo(int caracteres) { largo::Limitar(this, caracteres); }

void EditorFlex::ColocarSobre(int fila, int columna) {
  const QRect r = grilla_->visualRect(grilla_->model()->index(fila, columna));
  setGeometry(r);
}

bool EditorFlex::UsaTecla(int codigoTecla) {
  return codigoTecla == tecla::Enter || codigoTecla == tecla::Escape || codigoTecla == tecla::Arriba ||
         codigoTecla == tecla::Abajo;
}

void EditorFlex::keyPressEvent(QKeyEvent* e) {
  const int codigo = Controles::CodigoTecla(e);
  if (alTeclaAbajo) alTeclaAbajo(codigo, Controles::EstadoShift(e));
  if (UsaTecla(codigo)) return;
  int caracter = Controles::CaracterTecla(e);
  if (caracter >= 32 && alTeclear) {
    const int antes = caracter;
    alTeclear(caracter);
    if (caracter == 0) return;
    if (caracter != antes) {
      insert(QString(QChar(caracter)));
      return;
    }
  }
  QLineEdit::keyPressEvent(e);
}
