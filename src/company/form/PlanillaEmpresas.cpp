#include "company/form/PlanillaEmpresas.h"

#include <QFileInfo>
#include <functional>

#include "company/rules/ExportarEmpresas.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

const QString PlanillaEmpresas::kFiltroExportar =
    QStringLiteral("Libro de Excel (*.xlsx)|*.xlsx|Texto separado por comas (*.csv)|*.csv");

namespace {

void Informar(const QString& contexto) {
  Utilidades::Compartido().MostrarError(trampa::ErrorDe(std::current_exception()), {}, contexto);
}

// A read of the table under the wait cursor; a failure is told with the cursor
// back to normal. False when it failed.
bool Leyendo(const QString& contexto, const std::function<void()>& lectura) {
  ElOperador().CursorEspera(true);
  try {
    lectura();
  } catch (...) {
    ElOperador().CursorEspera(false);
    Informar(contexto);
    return false;
  }
  ElOperador().CursorEspera(false);
  return true;
}

}  // namespace

PlanillaEmpresas::PlanillaEmpresas(ado::ConnectionPtr conexion, const QString& tabla, QObject* padre)
    : QObject(padre), modelo_(std::move(conexion), tabla) {}

bool PlanillaEmpresas::Abrir() {
  if (!Leyendo(QStringLiteral("Planilla"), [this] { modelo_.Abrir(); })) return false;
  // Companies are looked for by name far more often than by code.
  const int nombre = modelo_.ColumnaDe(QStringLiteral("NombreEmpresa"));
  columnaBusqueda_ = nombre >= 0 ? nombre : 0;
  return true;
}

void PlanillaEmpresas::FijarColumnaBusqueda(int columna) {
  if (columna >= 0 && columna < modelo_.columnCount()) columnaBusqueda_ = columna;
}

QString PlanillaEmpresas::TituloBusqueda() const {
  return modelo_.headerData(columnaBusqueda_, Qt::Horizontal, Qt::DisplayRole).toString();
}

int PlanillaEmpresas::Buscar(const QString& texto) {
  int fila = buscador_.Primera(columnaBusqueda_, texto);
  if (fila < 0 && modelo_.canFetchMore({})) {
    bool leidas = false;
    Leyendo(QStringLiteral("Buscar"), [&] { leidas = modelo_.LeerHasta(columnaBusqueda_, texto); });
    if (leidas) fila = buscador_.Primera(columnaBusqueda_, texto);
  }
  if (fila >= 0) emit FilaElegida(fila);
  return fila;
}

void PlanillaEmpresas::Ordenar(int columna) {
  const Qt::SortOrder orden = columna == modelo_.ColumnaOrden() && modelo_.Orden() == Qt::AscendingOrder
                                  ? Qt::DescendingOrder
                                  : Qt::AscendingOrder;
  Leyendo(QStringLiteral("Ordenar"), [&] { modelo_.sort(columna, orden); });
}

void PlanillaEmpresas::Elegir(int fila) {
  if (fila < 0 || fila >= modelo_.rowCount()) return;
  elegido_ = modelo_.Codigo(fila);
  emit Ocultar();
}

void PlanillaEmpresas::Exportar() {
  QString archivo = ElOperador().GuardarArchivo(QStringLiteral("Exportar empresas"), kFiltroExportar);
  if (archivo.isEmpty()) return;
  // The format comes from the extension: a name without one is a workbook.
  if (QFileInfo(archivo).suffix().isEmpty()) archivo += QStringLiteral(".xlsx");
  ResultadoExportacion r;
  if (!Leyendo(QStringLiteral("Exportar"), [&] { r = ExportarEmpresas(archivo); })) return;
  if (r.error.isEmpty())
    ElOperador().MsgBox(QStringLiteral("Se exportaron %1 empresas a %2.").arg(r.filas).arg(archivo),
                        vb::Information, QStringLiteral("Exportar empresas"));
  else
    ElOperador().MsgBox(QStringLiteral("No se pudo exportar a %1:\r\n%2").arg(archivo, r.error),
                        vb::Exclamation, QStringLiteral("Aviso al operador..."));
}
