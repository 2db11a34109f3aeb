#pragma once
// A company's sheet as Reporte prints it: the stored company in the form's
// captions and the form's formats, with the province's name, the fee choice,
// the custom fields, how complete its own rows are and its last change. Read
// without any window; the drawing is the ui layer's.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>
#include <optional>

#include "company/rules/HistoriaEmpresa.h"
#include "platform/services/Operador.h"

// One caption and its value; a line without caption is a value alone.
struct LineaHoja {
  QString titulo, valor;
};

struct SeccionHoja {
  QString titulo;
  QVector<LineaHoja> lineas;
};

struct HojaEmpresa {
  QString titulo;   // "Empresa 4 - Bodegas Valle de Uco S.A."
  QByteArray logo;  // the stored picture's bytes; empty for none
  QVector<SeccionHoja> secciones;
  QString pie;  // the suite's name and the date
};

// The print preview of a sheet, shown through the operator.
class DialogoReporte : public DialogoModal {
 public:
  QString Nombre() const override { return QStringLiteral("frmReporteEmpresa"); }
  QString titulo;  // the preview's window title
  HojaEmpresa hoja;
};

// The company stored under `codigo` (looked up as the code field looks it up);
// none when there is no such company. A failed read throws ado::Failure.
std::optional<HojaEmpresa> LeerHojaEmpresa(const QString& codigo, HistoriaEmpresa& historia,
                                           const QDate& fecha = QDate::currentDate());
