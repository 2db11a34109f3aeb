#include "company/rules/LineaPadron.h"

#include <QStringList>

#include "company/rules/NombreComparable.h"

namespace {

QString Padron(const QDate& fecha) { return QStringLiteral("padrón ") + ConsultaPadron::FechaTexto(fecha); }

}  // namespace

QString CondicionIva(const InscripcionPadron& fila) {
  const QString iva = fila.iva.trimmed().toUpper();
  const QString mono = fila.monotributo.trimmed().toUpper();
  // Not registered for VAT but in the monotributo (a category, not "NI"): that is what the taxpayer is.
  if ((iva.isEmpty() || iva == QLatin1String("NI")) && !mono.isEmpty() && mono != QLatin1String("NI"))
    return QStringLiteral("responsable monotributo");
  if (iva.isEmpty()) return {};
  if (iva == QLatin1String("AC")) return QStringLiteral("IVA responsable inscripto");
  if (iva == QLatin1String("EX")) return QStringLiteral("IVA exento");
  if (iva == QLatin1String("NA")) return QStringLiteral("IVA no alcanzado");
  if (iva == QLatin1String("NI")) return QStringLiteral("IVA no inscripto");
  if (iva == QLatin1String("XN")) return QStringLiteral("IVA exento no alcanzado");
  if (iva == QLatin1String("AN")) return QStringLiteral("IVA activo no alcanzado");
  return QStringLiteral("IVA código %1").arg(iva);
}

EstadoPadron CompararConPadron(const std::optional<InscripcionPadron>& fila, const QString& nombreEmpresa) {
  if (!fila) return EstadoPadron::NoFigura;
  if (nombreEmpresa.trimmed().isEmpty() || NombreComparable::Coinciden(fila->denominacion, nombreEmpresa))
    return EstadoPadron::Coincide;
  return EstadoPadron::NombreDistinto;
}

LineaPadron ArmarLineaPadron(const std::optional<InscripcionPadron>& fila, const QDate& fecha,
                             const QString& cuit, const QString& nombreEmpresa) {
  LineaPadron l;
  l.estado = CompararConPadron(fila, nombreEmpresa);
  if (l.estado == EstadoPadron::NoFigura) {
    l.texto = QStringLiteral("AFIP: el CUIT no figura en el ") + Padron(fecha);
    l.motivo = QStringLiteral(
                   "El CUIT %1 no figura en el %2 de AFIP: puede estar mal escrito, o ser de una "
                   "inscripción posterior al padrón.")
                   .arg(cuit.trimmed(), Padron(fecha));
    return l;
  }
  QStringList partes{QStringLiteral("AFIP: ") + fila->denominacion};
  const QString iva = CondicionIva(*fila);
  if (!iva.isEmpty()) partes << iva;
  partes << Padron(fecha);
  l.texto = partes.join(QStringLiteral(" · "));
  if (l.estado == EstadoPadron::Coincide) return l;
  l.motivo = QStringLiteral(
                 "AFIP registra el CUIT %1 a nombre de %2, que no coincide con el nombre de la empresa (%3). "
                 "Revise el CUIT o el nombre.")
                 .arg(cuit.trimmed(), fila->denominacion, nombreEmpresa.trimmed());
  return l;
}
