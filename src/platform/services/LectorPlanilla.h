#pragma once
// A sheet file read by its kind, told by its extension in any letter case:
// ".csv" (LectorCsv) or ".xlsx" (LectorXlsx). A file that cannot be opened,
// of another kind, or not what its extension says, comes back with the reason.
#include <QString>

#include "platform/services/CeldaPlanilla.h"

Planilla LeerPlanilla(const QString& archivo);
