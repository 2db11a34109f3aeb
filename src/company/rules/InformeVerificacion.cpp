#include "company/rules/InformeVerificacion.h"

#include <QStringList>

#include "company/rules/ConsultaPadron.h"

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

// A spreadsheet takes a cell that begins with one of these for a formula and
// runs it: a company name must open as the text it is.
bool PareceFormula(const QString& texto) {
  static const QString inicios = QStringLiteral("=+-@\t\r");
  return !texto.isEmpty() && inicios.contains(texto.front());
}

QString Campo(const QString& valor) {
  static const QString especiales = QStringLiteral(",\"\r\n");
  const QString texto = PareceFormula(valor) ? QLatin1Char('\'') + valor : valor;
  bool citar = texto.trimmed() != texto;
  for (const QChar c : texto) citar = citar || especiales.contains(c);
  if (!citar) return texto;
  QString t = texto;
  t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + t + QLatin1Char('"');
}

QString Registro(const QStringList& campos) {
  QStringList c;
  for (const QString& s : campos) c << Campo(s);
  return c.join(QLatin1Char(','));
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
  if (formato == FormatoInforme::Csv) return Registro({l.codigo, l.nombre, Clave(l.tipo), l.detalle});
  return QStringLiteral("Empresa %1 - %2: %3").arg(l.codigo, l.nombre, l.detalle);
}

QString ResumenInforme(FormatoInforme formato, const ResumenVerificacion& resumen, Reparacion reparar) {
  const QString texto = TextoResumen(resumen, reparar);
  if (formato == FormatoInforme::Csv)
    return Registro({QString(), QString(), QStringLiteral("resumen"), texto});
  return texto;
}
