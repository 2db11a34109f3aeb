#pragma once
// The custom-fields grid and its floating editor as the form logic sees
// them: a grid of text cells whose row 0 is the header and column 0 the
// field names, and a text box laid over the cell being edited.
#include <QString>

class Grilla {
 public:
  virtual ~Grilla() = default;
  virtual int Rows() const = 0;
  virtual void SetRows(int filas) = 0;
  virtual int Cols() const = 0;
  virtual int FixedRows() const = 0;
  virtual void SetFixedRows(int filas) = 0;
  virtual QString TextMatrix(int fila, int columna) const = 0;
  virtual void SetTextMatrix(int fila, int columna, const QString& texto) = 0;
  virtual int Row() const = 0;
  virtual void SetRow(int fila) = 0;
  virtual int Col() const = 0;
  virtual void SetCol(int columna) = 0;
  virtual void SetColWidth(int columna, int twips) = 0;
  virtual void SetFocus() = 0;
};

class EditorCelda {
 public:
  virtual ~EditorCelda() = default;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual QString Text() const = 0;
  virtual void SetText(const QString& texto) = 0;
  virtual void SetSelStart(int posicion) = 0;       // beyond the end = at the end
  virtual void SetLargoMaximo(int caracteres) = 0;  // 0 = no limit
  // Lays the editor exactly over the cell.
  virtual void ColocarSobre(int fila, int columna) = 0;
  virtual void SetFocus() = 0;
};
