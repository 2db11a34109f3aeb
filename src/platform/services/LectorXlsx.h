#pragma once
// The first sheet of an XLSX workbook: shared and inline strings, numbers,
// booleans, formulas by their cached value, and numbers in a date format as
// the date (or date and time) they stand for, in the workbook's 1900 or 1904
// date system. A part larger than the reader takes, or a file that is no
// such workbook, is an error, never a sheet read in part.
#include <QByteArray>

#include "platform/services/CeldaPlanilla.h"

Planilla LeerXlsx(const QByteArray& bytes);
