#include "company/rules/InformeVerificacion.h"

#include <QStringList>

#include "company/rules/ConsultaPadron.h"
#include "company/rules/RegistroCsv.h"

namespace {

// The kind of a finding, as CSV readers filter on it.
QString Clave(Hallazgo tipo) {
  switch (tipo) {
    case Hallazgo::Cuit:
      return QStringLiteral("cuit");
    case Hallazgo::CuitRepetido:
      return QStringLiteral("cuit_repetido");
    case Hallazgo::FilasFaltantes:
      return QStringLiteral("filas_faltantes");
    case Hallazgo::CodigoNoAlineado:
      return QStringLiteral("codigo_no_alineado");
    case Hallazgo::Completada:
      return QStringLiteral("completada");
    case Hallazgo::NoCompletada:
      return QStringLiteral("no_completada");
    case Hallazgo::CuitNoEnPadron:
      return QStringLiteral("cuit_no_en_padron");
    case Hallazgo::NombreDistintoEnPadron:
      return QStringLiteral("nombre_distinto_en_padron");
  }
  return {};
}

QString TextoResumen(const ResumenVerificacion& r, Reparacion reparar) {
  QString t = QStringLiteral("%1 %2 verificadas: ")
                  .arg(r.empresas)
                  .arg(r.empresas == 1 ? QStringLiteral("empresa") : QStringLiteral("empresas"));
  t += r.hallazgos == 0
           ? QStringLiteral("sin hallazgos")
           : QStringLiteral("%1 %2")
                 .arg(r.hallazgos)
                 .arg(r.hallazgos == 1 ? QStringLiteral("hallazgo") : QStringLiteral("hallazgos"));
  if (reparar == Reparacion::Completar)
    t += QStringLiteral("; %1 completadas con %2 filas").arg(r.completadas).arg(r.filasAgregadas);
  if (r.fechaPadron)
    t += QStringLiteral("; CUIT comparados con el padrón de AFIP ") +
         ConsultaPadron::FechaTexto(*r.fechaPadron);
  return t + QLatin1Char('.');
}

}  // namespace

QString EncabezadoInforme(FormatoInforme formato) {
  return formato == FormatoInforme::Csv ? QStringLiteral("empresa,nombre,hallazgo,detalle") : QString();
}

QString LineaInforme(FormatoInforme formato, const LineaVerificacion& l) {
  if (formato == FormatoInforme::Csv) return RegistroCsv({l.codigo, l.nombre, Clave(l.tipo), l.detalle});
  return QStringLiteral("Empresa %1 - %2: %3").arg(l.codigo, l.nombre, l.detalle);
}

QString ResumenInforme(FormatoInforme formato, const ResumenVerificacion& resumen, Reparacion reparar) {
  const QString texto = TextoResumen(resumen, reparar);
  if (formato == FormatoInforme::Csv)
    return RegistroCsv({QString(), QString(), QStringLiteral("resumen"), texto});
  return texto;
}
