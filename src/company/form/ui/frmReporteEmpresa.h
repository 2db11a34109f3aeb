#pragma once
// A company's sheet drawn on paper: onto any paged device (the print preview's
// printer, a PDF file), A4, and the preview itself, registered for the operator.
#include <QString>

class QPagedPaintDevice;
struct HojaEmpresa;

// A4 upright with the sheet's margins.
void PrepararA4(QPagedPaintDevice& dispositivo);
// False when the device could not be painted on (a file that cannot be written).
bool DibujarHoja(const HojaEmpresa& hoja, QPagedPaintDevice& dispositivo);
bool GuardarHojaEnPdf(const HojaEmpresa& hoja, const QString& archivo);

void RegistrarFrmReporteEmpresa();
