#include "company/rules/ImportarPadron.h"

#include <QDateTime>
#include <stdexcept>

#include "platform/client/BulkInsert.h"
#include "platform/client/Recordset.h"

namespace padron {

const QString kTabla = QStringLiteral("MA_PADRON_AFIP");
const QString kTablaDatos = QStringLiteral("MA_PADRON_AFIP_DATOS");
const QString kTablaNueva = QStringLiteral("MA_PADRON_AFIP_NUEVO");

namespace {

// Oracle's DDL commits: the previous table is renamed aside before the new one
// takes its name, and dropped only after.
const QString kTablaVieja = QStringLiteral("MA_PADRON_AFIP_VIEJO");

// Lines read before a file can be told not to be a register.
constexpr qint64 kMuestra = 1000;
// Rows a transaction of the load holds: bounded journals, and little lost to a failure.
constexpr qint64 kFilasPorTransaccion = 1000000;
constexpr qint64 kLineasPorAvance = 100000;

using ado::Dialect;

const char* const kColumnas[kCampos] = {"CUIT",        "DENOMINACION", "GANANCIAS", "IVA",
                                        "MONOTRIBUTO", "SOCIEDAD",     "EMPLEADOR", "ACTIVIDAD"};

// The key is the rowid on SQLite; PostgreSQL builds it faster once loaded.
enum class Clave { AlCrear, AlTerminar };
Clave CuandoLaClave(Dialect d) { return d == Dialect::Postgres ? Clave::AlTerminar : Clave::AlCrear; }

QString CrearTabla(const QString& tabla, Dialect d) {
  if (d == Dialect::Oracle)
    return QStringLiteral(
               "CREATE TABLE %1 (CUIT NUMBER(11) NOT NULL PRIMARY KEY, DENOMINACION VARCHAR2(30) NOT NULL, "
               "GANANCIAS CHAR(2), IVA CHAR(2), MONOTRIBUTO CHAR(2), SOCIEDAD CHAR(1), EMPLEADOR CHAR(1), "
               "ACTIVIDAD CHAR(2))")
        .arg(tabla);
  const QString cuit = d == Dialect::Sqlite ? QStringLiteral("CUIT INTEGER NOT NULL PRIMARY KEY")
                       : CuandoLaClave(d) == Clave::AlTerminar
                           ? QStringLiteral("CUIT bigint NOT NULL")
                           : QStringLiteral("CUIT bigint NOT NULL PRIMARY KEY");
  return QStringLiteral(
             "CREATE TABLE %1 (%2, DENOMINACION varchar(30) NOT NULL, GANANCIAS char(2) NULL, IVA char(2) "
             "NULL, "
             "MONOTRIBUTO char(2) NULL, SOCIEDAD char(1) NULL, EMPLEADOR char(1) NULL, ACTIVIDAD char(2) "
             "NULL)")
      .arg(tabla, cuit);
}

QString CrearTablaDatos(Dialect d) {
  if (d == Dialect::Oracle)
    return QStringLiteral(
        "CREATE TABLE MA_PADRON_AFIP_DATOS (FECHA_PADRON DATE, LINEAS NUMBER(10) NOT NULL, "
        "MAL_FORMADAS NUMBER(10) NOT NULL, IMPORTADO DATE NOT NULL)");
  return QStringLiteral(
      "CREATE TABLE MA_PADRON_AFIP_DATOS (FECHA_PADRON datetime NULL, LINEAS int NOT NULL, "
      "MAL_FORMADAS int NOT NULL, IMPORTADO datetime NOT NULL)");
}

QString Renombrar(const QString& de, const QString& a, Dialect d) {
  if (d == Dialect::SqlServer || d == Dialect::Unknown)
    return QStringLiteral("EXEC sp_rename '%1', '%2'").arg(de, a);
  return QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(de, a);
}

bool Existe(ado::Connection& cnn, const QString& tabla) {
  std::unique_ptr<ado::Recordset> rs = cnn.OpenSchema(ado::adSchemaTables);
  for (; !rs->Eof(); rs->MoveNext())
    if (rs->Fields(QStringLiteral("TABLE_NAME")).GetValue().toString().compare(tabla, Qt::CaseInsensitive) ==
        0)
      return true;
  return false;
}

bool NoEsUnPadron(const Lector& l) { return l.Malformadas() * 2 > l.Lineas(); }

[[noreturn]] void Rechazar(const Lector& l) {
  throw std::runtime_error(
      QStringLiteral("%1 no es un padrón: %2 de sus %3 líneas no tienen la forma de las del padrón.")
          .arg(l.Nombre())
          .arg(l.Malformadas())
          .arg(l.Lineas())
          .toStdString());
}

void EscribirDatos(const ado::ConnectionPtr& cnn, const ResultadoImportacion& r) {
  cnn->Execute(QStringLiteral("DELETE FROM ") + kTablaDatos);
  ado::Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM ") + kTablaDatos, cnn, ado::adOpenStatic, ado::adLockOptimistic);
  rs.AddNew();
  rs.Fields(QStringLiteral("FECHA_PADRON"))
      .SetValue(r.fecha.isValid() ? ado::Value(QDateTime(r.fecha, QTime(0, 0))) : ado::Null());
  rs.Fields(QStringLiteral("LINEAS")).SetValue(r.importadas);
  rs.Fields(QStringLiteral("MAL_FORMADAS")).SetValue(r.malformadas);
  const QDateTime ahora = QDateTime::currentDateTime();
  rs.Fields(QStringLiteral("IMPORTADO")).SetValue(ahora.addMSecs(-ahora.time().msec()));
  rs.Update();
  rs.Close();
}

// The loaded table takes the previous one's place, with its data.
void Reemplazar(const ado::ConnectionPtr& cnn, const ResultadoImportacion& r) {
  const Dialect d = cnn->GetDialect();
  if (!Existe(*cnn, kTablaDatos)) cnn->Execute(CrearTablaDatos(d));
  const bool habia = Existe(*cnn, kTabla);
  if (d == Dialect::Oracle) {
    if (habia) cnn->Execute(Renombrar(kTabla, kTablaVieja, d));
    cnn->Execute(Renombrar(kTablaNueva, kTabla, d));
    cnn->BeginTrans();
    try {
      EscribirDatos(cnn, r);
      cnn->CommitTrans();
    } catch (...) {
      cnn->RollbackTrans();
      throw;
    }
    if (habia) cnn->Execute(QStringLiteral("DROP TABLE ") + kTablaVieja);
    return;
  }
  cnn->BeginTrans();
  try {
    if (habia) cnn->Execute(QStringLiteral("DROP TABLE ") + kTabla);
    cnn->Execute(Renombrar(kTablaNueva, kTabla, d));
    EscribirDatos(cnn, r);
    cnn->CommitTrans();
  } catch (...) {
    cnn->RollbackTrans();
    throw;
  }
}

// Oracle: an import interrupted between its two renames left the previous
// register aside; it goes back first.
void RecuperarVieja(ado::Connection& cnn) {
  if (cnn.GetDialect() != Dialect::Oracle || !Existe(cnn, kTablaVieja)) return;
  if (Existe(cnn, kTabla))
    cnn.Execute(QStringLiteral("DROP TABLE ") + kTablaVieja);
  else
    cnn.Execute(Renombrar(kTablaVieja, kTabla, Dialect::Oracle));
}

// The half-loaded table goes; the previous register never moved.
void Descartar(ado::Connection& cnn) {
  try {
    cnn.Execute(QStringLiteral("DROP TABLE ") + kTablaNueva);
  } catch (...) {
  }
}

void Cargar(const ado::ConnectionPtr& cnn, Lector& lector, const OpcionesImportacion& o,
            ResultadoImportacion& r) {
  QVector<ado::BulkInsert::Column> columnas;
  for (int c = 0; c < kCampos; ++c)
    columnas.push_back({QString::fromLatin1(kColumnas[c]),
                        c == 0 ? ado::BulkInsert::Kind::BigInt : ado::BulkInsert::Kind::Text, kAnchos[c]});
  ado::BulkInsert insercion(cnn, kTablaNueva, columnas, o.filasPorSentencia);
  Linea l;
  qint64 enTransaccion = 0, enviadas = 0;
  qint64 proximoAvance = kLineasPorAvance;
  auto enviadasAhora = [&] {
    const qint64 n = insercion.RowsSent();
    if (n != enviadas) {
      enviadas = n;
      if (o.trasLote) o.trasLote(n);
    }
  };
  bool muestraVista = false;
  cnn->BeginTrans();
  try {
    while (lector.Siguiente(l)) {
      insercion.SetBigInt(0, l.cuit);
      for (int c = 1; c < kCampos; ++c) insercion.SetText(c, l.Valor(static_cast<Campo>(c)));
      insercion.EndRow();
      ++r.importadas;
      enviadasAhora();
      if (!muestraVista && lector.Lineas() >= kMuestra) {
        muestraVista = true;
        if (NoEsUnPadron(lector)) Rechazar(lector);
      }
      if (++enTransaccion == kFilasPorTransaccion) {
        insercion.Flush();
        enviadasAhora();
        cnn->CommitTrans();
        cnn->BeginTrans();
        enTransaccion = 0;
      }
      if (o.avance && lector.Lineas() >= proximoAvance) {
        o.avance(lector);
        proximoAvance = lector.Lineas() + kLineasPorAvance;
      }
    }
    if (NoEsUnPadron(lector)) Rechazar(lector);
    insercion.Flush();
    enviadasAhora();
  } catch (...) {
    try {
      cnn->RollbackTrans();
    } catch (...) {
    }
    throw;
  }
  cnn->CommitTrans();
  if (o.avance) o.avance(lector);
}

}  // namespace

ResultadoImportacion Importar(const ado::ConnectionPtr& cnn, Lector& lector, const OpcionesImportacion& o) {
  ResultadoImportacion r;
  r.fecha = lector.Fecha();
  const Dialect d = cnn->GetDialect();
  RecuperarVieja(*cnn);
  // What an interrupted import left.
  if (Existe(*cnn, kTablaNueva)) cnn->Execute(QStringLiteral("DROP TABLE ") + kTablaNueva);
  cnn->Execute(CrearTabla(kTablaNueva, d));
  try {
    Cargar(cnn, lector, o, r);
    r.malformadas = lector.Malformadas();
    r.primeras = lector.PrimerasMalformadas();
    if (r.importadas == 0 || NoEsUnPadron(lector)) Rechazar(lector);
    if (CuandoLaClave(d) == Clave::AlTerminar)
      cnn->Execute(QStringLiteral("ALTER TABLE ") + kTablaNueva + QStringLiteral(" ADD PRIMARY KEY (CUIT)"));
    Reemplazar(cnn, r);
  } catch (const ado::Failure& f) {
    Descartar(*cnn);
    // The key refuses a CUIT the reading could not see twice: not on consecutive lines.
    if (f.Number() == ado::err::IntegrityViolation)
      throw std::runtime_error(
          QStringLiteral("el archivo repite un CUIT en líneas que no son consecutivas (un padrón viene "
                         "ordenado por CUIT): %1")
              .arg(f.Info().Description)
              .toStdString());
    throw;
  } catch (...) {
    Descartar(*cnn);
    throw;
  }
  return r;
}

}  // namespace padron
