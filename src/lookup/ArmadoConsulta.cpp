#include "lookup/ArmadoConsulta.h"

#include <cmath>

#include "db/TextoSql.h"

namespace armado {
namespace {
bool Igual(const QString& a, const char* b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }
}  // namespace

QString EnvolverCondicion(const QString& where) {
  const QString t = where.trimmed();
  if (t.size() > 1 && t.at(0) != QLatin1Char('(')) return QStringLiteral(" (") + where + QStringLiteral(") ");
  return where;
}

int LimiteFilas(const QString& topConsArt) {
  // Leading number of the text, as the suite reads numbers; anything else is 0.
  const QString t = topConsArt.trimmed();
  int fin = 0;
  while (fin < t.size() && (t.at(fin).isDigit() || t.at(fin) == QLatin1Char('.') ||
                            (fin == 0 && (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')))))
    ++fin;
  bool ok = false;
  const double n = t.left(fin).toDouble(&ok);
  // A limit below one row would make the statement fail or return nothing;
  // one past any list the dialog can show is bounded before it becomes an int.
  if (std::isinf(n) && n > 0) return kMaximoFilas;  // too many digits for a double
  if (!ok || !(n >= 0.5)) return 1000;
  return n >= kMaximoFilas ? kMaximoFilas : static_cast<int>(std::lround(n));
}

bool EsSentencia(const QString& sql) { return sql.contains(QLatin1String("SELECT"), Qt::CaseInsensitive); }

QString ConVistaArticulos(const QString& sql) {
  return ReemplazarFueraDeLiterales(sql, QStringLiteral("V_MA_ARTICULOS"), QStringLiteral("VT_MA_ARTICULOS"));
}

ResultadoMascara SentenciaDeMascara(const RegistroMascara& registro, int limite, QString& campoBusqueda,
                                    const QString& where, QString& sentencia) {
  QString tabla = registro.Tabla;
  QString columnas = registro.Columnas;
  columnas.replace(QLatin1Char('|'), QLatin1Char(','));
  columnas = columnas.trimmed();
  if (columnas.startsWith(QLatin1Char(','))) columnas.remove(0, 1);
  if (columnas.endsWith(QLatin1Char(','))) columnas.chop(1);
  if (columnas.isEmpty()) columnas = QStringLiteral("*");

  if (campoBusqueda.isEmpty()) {
    const int coma = columnas.indexOf(QLatin1Char(','));
    if (coma < 0) return ResultadoMascara::FaltaConfigurar;
    campoBusqueda = columnas.left(coma);
  }

  QString condicion = registro.Condicion;
  if (condicion.trimmed().isEmpty() && !where.trimmed().isEmpty()) condicion = where;

  QString defecto;
  if (Igual(tabla, "VT_PROVEEDORES") || Igual(tabla, "VT_CLIENTES")) {
    defecto = QStringLiteral("Dada_De_Baja = 0");
  } else if (Igual(tabla, "V_MA_ARTICULOS")) {
    tabla = QStringLiteral("VT_MA_ARTICULOS");
    defecto = QStringLiteral("SUSPENDIDO = 0");
  }
  if (condicion.trimmed().isEmpty()) condicion = defecto;

  sentencia = QStringLiteral("SELECT TOP ") + QString::number(limite) + QLatin1Char(' ') + columnas +
              QStringLiteral(" FROM ") + tabla;
  if (!condicion.trimmed().isEmpty()) sentencia += QStringLiteral(" WHERE ") + condicion;
  if (!campoBusqueda.isEmpty()) sentencia += QStringLiteral(" ORDER BY ") + campoBusqueda;
  return ResultadoMascara::Sentencia;
}

QString SentenciaDeCampos(const QString& tabla, int limite, const QStringList& campos,
                          QString& campoBusqueda) {
  QString lista;
  for (const QString& nombre : campos) {
    if (Igual(nombre, "ID") || Igual(nombre, "FECHAHORA_MODIFICACION") ||
        Igual(nombre, "FECHAHORA_GRABACION"))
      continue;
    if (Igual(nombre, "DESCRIPCION") || Igual(nombre, "NOMBRE") || Igual(nombre, "DETALLE") ||
        lista.isEmpty())
      campoBusqueda = nombre;
    lista = nombre + QLatin1Char(',') + lista;
  }
  const QString columnas = lista.isEmpty() ? QStringLiteral(" * ") : lista.left(lista.size() - 1);
  return QStringLiteral("SELECT TOP ") + QString::number(limite) + QLatin1Char(' ') + columnas +
         QStringLiteral(" FROM ") + tabla + QStringLiteral(" ORDER BY ") + campoBusqueda;
}

}  // namespace armado
