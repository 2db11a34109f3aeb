#pragma once
// Helpers for a form's entry controls. Entry fields carry their bound column
// in the dynamic property "DataField" and their lookup table in "Tag".
#include <QString>
#include <QVector>

class QKeyEvent;
class QWidget;

class Controles {
 public:
  static Controles& Compartido();

  // Empties the form's entry fields (those bound to a column) and resets its
  // combo boxes; labels, option buttons and pictures are left alone.
  void LimpiarFormulario(QWidget* formulario) const;
  // Readies the fields for a new record of the table: plain entry, caret at
  // the start, nothing marked as changed.
  void PrepararCampos(const QVector<QWidget*>& campos, const QString& tabla, const QString& conexion) const;
  // Enter confirms a field.
  bool EsTeclaAvance(int codigoTecla) const;
  // Moves the focus from the focused field to the next one in tab order.
  void AvanzarFoco(int codigoTecla) const;
  // Lets every character through (KeyAscii is left as typed).
  void FiltrarTecla(QWidget* caja, int& keyAscii) const;
  // The workstation's decimal separator, one character.
  QString SeparadorDecimal() const;
  // Index of the field bound to the column (letter case ignored); -1 when none.
  int IndiceCampo(const QString& columna, const QVector<QWidget*>& campos) const;

  // Text of an entry field, single or multi-line.
  static QString Texto(const QWidget* campo);
  static void PonerTexto(QWidget* campo, const QString& texto);
  static void Seleccionar(QWidget* campo, int inicio, int largo);

  // A key event as the program's key handlers see it: the virtual-key code
  // (0 when it has none), the shift state, and the typed character code
  // (0 when the key types nothing).
  static int CodigoTecla(const QKeyEvent* e);
  static int EstadoShift(const QKeyEvent* e);
  static int CaracterTecla(const QKeyEvent* e);
};
