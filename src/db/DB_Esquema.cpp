#include <memory>

#include "db/DB_Dll.h"
#include "db/Sentencias.h"
#include "platform/services/Trampa.h"

namespace {

// Walks the rowset from its first row looking for `nombre` in `columna`
// (both trimmed, letter case ignored).
// A rowset that never opened (its open failed and the operator went on)
// has no rows.
bool HayFilaCon(const std::unique_ptr<ado::Recordset>& rowset, const QString& columna,
                const QString& nombre) {
  if (!rowset || rowset->State() == ado::adStateClosed) return false;
  ado::Recordset& rs = *rowset;
  if (rs.Bof()) return false;
  rs.MoveFirst();
  const QString buscado = nombre.trimmed();
  while (!rs.Eof()) {
    if (rs.Fields(columna).GetValue().toString().trimmed().compare(buscado, Qt::CaseInsensitive) == 0)
      return true;
    rs.MoveNext();
  }
  return false;
}

}  // namespace

bool DB_Dll::ExisteTablaDB(const QString& Tabla) {
  bool resultado = false;
  std::unique_ptr<ado::Recordset> rs;
  trampa::Ejecutar({[&] { rs = gCnn()->OpenSchema(ado::adSchemaTables); },
                    [&] { resultado = HayFilaCon(rs, QStringLiteral("TABLE_NAME"), Tabla); }},
                   [this](const ado::ErrorInfo& e, std::size_t) {
                     return TratamientoErrores(e, {}, QStringLiteral("VerificaCampos"));
                   });
  return resultado;
}

bool DB_Dll::ExisteCampoDB(const QString& Tabla, const QString& Campo) {
  // Oracle's catalogue is not asked: every column is taken to exist there.
  if (gProveedor.contains(QLatin1String("ORACLE"), Qt::CaseInsensitive)) return true;
  bool resultado = false;
  std::unique_ptr<ado::Recordset> rs;
  trampa::Ejecutar(
      {[&] {
         rs = gCnn()->OpenSchema(ado::adSchemaColumns, {gDBName, ado::Empty(), Tabla, ado::Empty()});
       },
       [&] { resultado = HayFilaCon(rs, QStringLiteral("COLUMN_NAME"), Campo); }},
      [this](const ado::ErrorInfo& e, std::size_t) {
        return TratamientoErrores(e, {}, QStringLiteral("VerificaCampos"));
      });
  return resultado;
}

void DB_Dll::AddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                      const ado::Value& ValorDefault) {
  QString sql;
  long afectados = 0;
  trampa::Ejecutar({[&] { sql = SentenciaAddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault); },
                    [&] { EjecutaConsultaSQL(sql, afectados); }},
                   [this](const ado::ErrorInfo& e, std::size_t) {
                     return TratamientoErrores(e, {}, QStringLiteral("errAddField"));
                   });
}

bool DB_Dll::VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar, const QString& Tipo,
                        bool PermiteNulos, const ado::Value& ValorDefault) {
  if (!ExisteTablaDB(Tabla)) return true;
  if (!ExisteCampoDB(Tabla, Campo) && Agregar) AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
  return true;
}
