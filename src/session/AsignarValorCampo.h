#pragma once
// Storing a typed-in text into a field of an open recordset, converted by the
// field's database type.
#include <QString>

#include "platform/client/Recordset.h"

// Campo comes back without "[" and "]". A value the field cannot take raises
// the failure into the caller's trap.
void AsignarValorCampo(ado::Recordset& Recordset, QString& Campo, QString& Valor);

// False for "FALSE", "FALSO", "0", "NO" and "N" in any letter case; true for
// anything else, the empty text included.
bool EsVerdadero(const QString& Texto);
