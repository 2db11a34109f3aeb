#pragma once
// The custom fields of a company: every column whose name begins "P_",
// shown as name / value rows of a grid and edited in place.
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "company/form/Grilla.h"
#include "platform/core/Value.h"
#include "session/ValorTecleado.h"

namespace ado {
class Recordset;
}

class Personalizados {
 public:
  Personalizados(Grilla& grilla, EditorCelda& editor);

  // InicializaPersonalizados: header row only; an open edit is dropped.
  void Inicializa();
  // AsignarPersonalizados: one row per "P_" column of the recordset, in its
  // column order, with the current row's values.
  void Asignar(ado::Recordset& rs);
  // GrabarPersonalizados: writes every row into its column of the current
  // row through AsignarValorCampo; the caller updates the recordset.
  // With `columnas`, only the rows of those columns.
  void Grabar(ado::Recordset& rs, const QStringList* columnas = nullptr);
  // Column and text of every row, as on screen.
  QVector<QPair<QString, QString>> Valores() const;
  // A column's value as a row shows it: a number in the workstation's
  // convention with every stored digit, a date day first.
  static QString TextoDe(const ado::Value& v, const TipoTecleado& tipo);

  // MsflexGridEdt: opens the editor on the current value cell (never on the
  // header row or a name). Control keys keep the cell's text; a printable
  // character replaces it (a separator mapped as CaracterEditor does). The
  // editor takes at most the column's length.
  void IniciarEdicion(int keyAscii);
  // EditKeyCode: Enter, Escape, Up and Down in the editor. `procesarEventos`
  // lets pending window events run.
  void TeclaEditor(int keyCode, int shift, const std::function<void()>& procesarEventos);
  // TxtEdit_KeyPress: in a number, "," or "." types the decimal separator,
  // except the workstation's group separator after a digit (1.234,56).
  void CaracterEditor(int& keyAscii, const QString& separador) const;
  // Stores the editor's text in the cell it was opened on, as the value it
  // stores will show, and hides it. A number or date the column cannot take
  // exactly is refused with a message; the editor stays open with the text
  // and false is returned.
  bool Confirmar();
  // Hides the editor without storing its text.
  void Descartar();

  // Column of the table behind a grid row ("P_" + name unless the name
  // already has the prefix).
  static QString ColumnaDe(const QString& nombre);

 private:
  TipoTecleado TipoDe(int fila) const;
  int MapearSeparador(int keyAscii, const QString& antes, const QString& separador) const;

  Grilla& grilla_;
  EditorCelda& editor_;
  int filaEditada_ = -1;
  int columnaEditada_ = -1;
  QVector<TipoTecleado> tipos_;  // per grid row, from the column types
  bool rechazando_ = false;      // a refusal's box is up
  QVector<int> largos_;          // per grid row: characters the column holds, 0 = no limit
};
