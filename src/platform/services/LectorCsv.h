#pragma once
// A CSV file as a spreadsheet saves it: UTF-8 with or without its BOM (text
// that is not UTF-8 is read in the Windows code page, as the suite's own files
// are), records under RFC 4180 (quotes, doubled quotes, line ends inside
// quotes, CRLF or LF), separated by commas or semicolons: whichever the
// header row holds more of outside quotes. An apostrophe that an export put in
// front of a cell beginning with "=", "+", "-", "@", a tab or a carriage
// return, so that no spreadsheet runs it as a formula, is taken off again.
// Every cell is text; a row of nothing but empty cells is left out.
#include <QByteArray>

#include "platform/services/CeldaPlanilla.h"

Planilla LeerCsv(const QByteArray& bytes);
