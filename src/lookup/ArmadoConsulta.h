#pragma once
// How a lookup request turns a table name into its statement.
#include <QString>
#include <QStringList>

#include "lookup/ArchivoDefiniciones.h"

namespace armado {

// " (" & Where & ") " when the trimmed condition has more than one character
// and does not start with "(".
QString EnvolverCondicion(const QString& where);
constexpr int kMaximoFilas = 1000000;
// The TOP limit from the "TopConsArt" text: 1000 for 0, blank or non-numeric;
// at most kMaximoFilas.
int LimiteFilas(const QString& topConsArt);
bool EsSentencia(const QString& sql);
// V_MA_ARTICULOS becomes VT_MA_ARTICULOS throughout (any letter case), never inside a literal.
QString ConVistaArticulos(const QString& sql);

enum class ResultadoMascara { Sentencia, FaltaConfigurar };

// The statement of a matched definition record. `registro` holds fields
// already cleaned and trimmed. CampoBusqueda is filled in when empty;
// FaltaConfigurar when it is empty and the record lists fewer than two columns.
ResultadoMascara SentenciaDeMascara(const RegistroMascara& registro, int limite, QString& campoBusqueda,
                                    const QString& where, QString& sentencia);

// The table path: the fields of the table in their order. Columns are listed
// in reverse order (each in front of the list); CampoBusqueda becomes the last
// of DESCRIPCION / NOMBRE / DETALLE, else the first listed field.
QString SentenciaDeCampos(const QString& tabla, int limite, const QStringList& campos,
                          QString& campoBusqueda);

}  // namespace armado
