#pragma once
// How many characters a column holds, as far as the database enforces it.
#include "platform/client/Recordset.h"

// The defined size of a fixed-length or varying text column; 0 for any other
// column and for long text, which has no limit to keep to.
inline int LargoDeColumna(const ado::Field& campo) {
  switch (campo.Type()) {
    case ado::adBSTR:
    case ado::adChar:
    case ado::adWChar:
    case ado::adVarChar:
    case ado::adVarWChar:
      return campo.DefinedSize() > 0 ? static_cast<int>(campo.DefinedSize()) : 0;
    default:
      return 0;
  }
}
