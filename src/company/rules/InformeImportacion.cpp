#include "company/rules/InformeImportacion.h"

#include <QStringList>

namespace {

QString Empresa(const LineaImportacion& l) {
  if (l.codigo.isEmpty()) return QStringLiteral("sin código");
  const QString e = QStringLiteral("empresa ") + l.codigo;
  return l.nombre.isEmpty() ? e : e + QStringLiteral(" - ") + l.nombre;
}

QString Cambios(const LineaImportacion& l) {
  QStringList r;
  for (const CambioImportado& c : l.cambios)
    r << QStringLiteral("%1 (\"%2\" → \"%3\")").arg(c.titulo, c.antes, c.despues);
  return r.join(QStringLiteral(", "));
}

QString Copiadas(const LineaImportacion& l) {
  return l.filasEmpresa.isEmpty() ? QString()
                                  : QStringLiteral("; filas por empresa copiadas: ") + l.filasEmpresa;
}

QString Plural(int n, const char* uno, const char* varios) {
  return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? uno : varios));
}

}  // namespace

QString LineaImportacionTexto(const LineaImportacion& l, Aplicacion aplicacion) {
  const QString inicio = QStringLiteral("Fila %1").arg(l.fila);
  const bool grabar = aplicacion == Aplicacion::Grabar;
  switch (l.veredicto) {
    case Veredicto::Aviso:
      return inicio + QStringLiteral(": ") + l.motivo;
    case Veredicto::Rechazada:
      return inicio + QStringLiteral(", ") + Empresa(l) + QStringLiteral(": rechazada: ") + l.motivo;
    case Veredicto::SinCambios:
      return inicio + QStringLiteral(", ") + Empresa(l) + QStringLiteral(": sin cambios");
    case Veredicto::Nueva:
      if (!grabar) return inicio + QStringLiteral(", ") + Empresa(l) + QStringLiteral(": nueva");
      return inicio + QStringLiteral(", ") + Empresa(l) + QStringLiteral(": nueva, grabada") + Copiadas(l);
    case Veredicto::Cambiada:
      return inicio + QStringLiteral(", ") + Empresa(l) +
             (grabar ? QStringLiteral(": grabada: ") : QStringLiteral(": cambia ")) + Cambios(l) +
             Copiadas(l);
  }
  return inicio;
}

QString ResumenImportacionTexto(const ResumenImportacion& r) {
  const QString cuentas = QStringLiteral("%1: %2, %3, %4, %5")
                              .arg(Plural(r.filas, "fila", "filas"), Plural(r.nuevas, "nueva", "nuevas"),
                                   Plural(r.cambiadas, "con cambios", "con cambios"),
                                   Plural(r.sinCambios, "sin cambios", "sin cambios"),
                                   Plural(r.rechazadas, "rechazada", "rechazadas"));
  if (r.aplicada)
    return cuentas + QStringLiteral("; %1.").arg(
                         Plural(r.nuevas + r.cambiadas, "empresa grabada", "empresas grabadas"));
  return cuentas + QStringLiteral("; no se grabó nada (--aplicar graba las filas aceptadas).");
}
