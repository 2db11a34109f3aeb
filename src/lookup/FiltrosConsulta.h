#pragma once
// The statements the lookup dialogs build from what the operator types.
#include <QString>

namespace filtros {

// The table named after the first "from": the text up to the next blank, tab
// or line break (or the end of the statement).
QString TablaDeConsulta(const QString& sql);

// State a filtered search carries from one F5 to the next.
struct EstadoFiltro {
  QString SentenciaBase;
  QString ParteOrden;
};

enum class Busqueda { Contiene, EmpiezaCon };

// The list dialog's F5: `texto` is the box text ("*" already turned into "%"
// for EmpiezaCon). The operator's text is written as one SQL literal.
QString FiltrarLista(const QString& sql, const QString& campo, const QString& texto, Busqueda modo,
                     EstadoFiltro& estado);
// The tree dialog's F5 on the description column.
QString FiltrarArbol(const QString& sql, const QString& texto, EstadoFiltro& estado);
// The stock-shortage insert of the F12 report; `idAlineado` is already right-aligned.
QString SentenciaFaltante(const QString& fechaHora, const QString& idAlineado, const QString& descripcion,
                          const QString& usuario);

}  // namespace filtros
