#pragma once
// The custom-fields grid as a table widget: row 0 is the header row, column
// 0 the field names; the operator edits through the floating editor only.
#include <QLineEdit>
#include <QTableWidget>
#include <functional>

#include "company/form/Grilla.h"

class GrillaFlex : public QTableWidget, public Grilla {
  Q_OBJECT
 public:
  explicit GrillaFlex(QWidget* parent = nullptr);

  int Rows() const override { return rowCount(); }
  void SetRows(int filas) override;
  int Cols() const override { return columnCount(); }
  int FixedRows() const override { return fijas_; }
  void SetFixedRows(int filas) override;
  QString TextMatrix(int fila, int columna) const override;
  void SetTextMatrix(int fila, int columna, const QString& texto) override;
  int Row() const override { return currentRow(); }
  void SetRow(int fila) override;
  int Col() const override { return currentColumn(); }
  void SetCol(int columna) override;
  void SetColWidth(int columna, int twips) override;
  void SetFocus() override { setFocus(Qt::OtherFocusReason); }

  // Typed characters (KeyAscii), double clicks and focus arrivals.
  std::function<void(int)> alTeclear;
  std::function<void()> alDobleClic;
  std::function<void()> alRecibirFoco;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;

 private:
  void Estilo(int fila);
  int fijas_ = 0;
};

// The floating editor laid over a cell of the grid.
class EditorFlex : public QLineEdit, public EditorCelda {
  Q_OBJECT
 public:
  EditorFlex(GrillaFlex* grilla);

  bool Visible() const override { return !isHidden(); }
  void SetVisible(bool visible) override { setVisible(visible); }
  QString Text() const override { return text(); }
  void SetText(const QString& texto) override { setText(texto); }
  void SetSelStart(int posicion) override;
  void SetLargoMaximo(int caracteres) override;
  void ColocarSobre(int fila, int columna) override;
  void SetFocus() override { setFocus(Qt::OtherFocusReason); }

  // Keys this editor uses itself (they are not the bars' shortcuts here).
  static bool UsaTecla(int codigoTecla);

  // KeyDown (code, shift) and KeyPress (character by reference, 0 drops it).
  std::function<void(int, int)> alTeclaAbajo;
  std::function<void(int&)> alTeclear;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  GrillaFlex* grilla_;
};
