// The company form's side of the change history: the deletion written with
// its history row, and the list shown with Ctrl+H.
#include "company/form/FormEmpresas.h"
#include "company/rules/UnidadGrabacion.h"
#include "db/DB_Dll.h"
#include "platform/services/Operador.h"
#include "platform/services/Utilidades.h"

void FormEmpresas::BorrarConHistoria(const trampa::ManejadorDeUnidad& manejador) {
  auto& db = DB_Dll::Instancia();
  ado::Recordset& rs = Empresas();
  const QString codigo15 = Utilidades::Compartido().AlinearDerecha(
      vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed(), 15);
  ado::Value nombre;
  bool otraVez = false;
  // The deletion and its history row: neither goes without the other.
  constexpr trampa::Omision entera = trampa::Omision::Prohibida;
  trampa::Resultado r = trampa::Resultado::Abandonado;
  try {
    r = EjecutarEnUnaTransaccion(
        *db.gCnn(), NombreTabla,
        {{[&] {
            // A retry finds the row again: the rollback took the deletion.
            if (otraVez && !ReleerEmpresa(codigo15))
              throw ado::Failure(ado::err::RowChanged, QStringLiteral("La empresa ya había sido eliminada."),
                                 QStringLiteral("MA_Empresas"));
            otraVez = true;
            nombre = rs.Fields(QStringLiteral("NombreEmpresa")).GetValue();
            rs.Delete();
          },
          entera},
         {[&] {
            historia_.Escribir(*db.gCnn(), codigo15, OperacionHistoria::Baja,
                               {{QStringLiteral("NombreEmpresa"), nombre, ado::Null()}});
          },
          entera}},
        manejador);
  } catch (...) {
    HayError = true;
    throw;
  }
  if (r != trampa::Resultado::Completo) return;
  // Deleted, after however many tries.
  HayError = false;
  trampa::Ejecutar({[&] { Inicializa(); }}, [&](const ado::ErrorInfo& e, std::size_t i) {
    return manejador(e, i, trampa::Omision::Permitida);
  });
}

void FormEmpresas::MostrarHistoria() {
  auto& db = DB_Dll::Instancia();
  const QString codigo = vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed();
  if (!historia_.Disponible(*db.gCnn())) {
    ElOperador().MsgBox(
        QStringLiteral("Esta base de datos no guarda el historial de cambios de las empresas."),
        vb::Information, QStringLiteral("Aviso al operador..."));
    return;
  }
  DialogoHistoria d = historia_.Leer(db.gCnn(), Utilidades::Compartido().AlinearDerecha(codigo, 15));
  d.titulo = QStringLiteral("Historial de cambios de la empresa %1").arg(codigo);
  ElOperador().MostrarModal(d);
}
