#include "company/RecorridoEmpresas.h"

#include "db/DB_Dll.h"
#include "db/TextoSql.h"

RecorridoEmpresas::RecorridoEmpresas() : claves_(std::make_unique<ado::Recordset>()) {}

RecorridoEmpresas::~RecorridoEmpresas() = default;

void RecorridoEmpresas::Leer(const QString& tabla, const QString& columnaClave) {
  auto& db = DB_Dll::Instancia();
  Olvidar();
  tabla_ = tabla;
  columna_ = columnaClave;
  QString sql = QStringLiteral("SELECT ") + columnaClave + QStringLiteral(" FROM ") + tabla +
                QStringLiteral(" ORDER BY ") + columnaClave;
  db.AbrirRecordset(sql, *claves_, db.gCnn(), ado::adOpenStatic, ado::adLockReadOnly,
                    ado::adOptionUnspecified, true);
}

void RecorridoEmpresas::Olvidar() {
  if (claves_->State() != ado::adStateClosed) claves_->Close();
  cargada_ = 0;
}

bool RecorridoEmpresas::Activo() const { return claves_->State() != ado::adStateClosed; }

bool RecorridoEmpresas::EnFila() const { return Activo() && claves_->AbsolutePosition() > 0; }

void RecorridoEmpresas::CargarActual(ado::Recordset& rs) {
  if (!EnFila()) return;
  const long posicion = claves_->AbsolutePosition();
  if (posicion == cargada_ && rs.State() != ado::adStateClosed) return;
  auto& db = DB_Dll::Instancia();
  // The code exactly as stored: the key's index finds it.
  QString sql = QStringLiteral("SELECT * FROM ") + tabla_ + QStringLiteral(" WHERE ") + columna_ +
                QStringLiteral(" = '") + DuplicarApostrofes(claves_->Fields(0).GetValue().toString()) +
                QLatin1Char('\'');
  cargada_ = 0;
  rs.Open(db.SS_TSinonimos(sql), db.gCnn(), ado::adOpenDynamic, ado::adLockOptimistic);
  cargada_ = posicion;
}
