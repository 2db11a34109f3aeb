#include "company/rules/ExportarEmpresas.h"

ResultadoExportacion ExportarEmpresas(const QString&) { return {0, QStringLiteral("sin hacer")}; }
