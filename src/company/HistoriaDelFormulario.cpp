// The company form's side of the change history: the deletion written with
// its history row, and the list shown with Ctrl+H.
#include "company/FormEmpresas.h"
#include "company/UnidadGrabacion.h"
#include "db/DB_Dll.h"
#include "platform/services/Operador.h"
#include "platform/services/Utilidades.h"

void FormEmpresas::BorrarConHistoria(const trampa::Manejador& manejador) {
  auto& db = DB_Dll::Instancia();
  ado::Recordset& rs = Empresas();
  const QString codigo15 = Utilidades::Compartido().AlinearDerecha(
      vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed(), 15);
  ado::Value nombre;
  bool borrada = false;
  trampa::Resultado r = trampa::Resultado::Abandonado;
  try {
    r = EjecutarEnUnaTransaccion(*db.gCnn(), NombreTabla,
                                 {[&] {
                                    nombre = rs.Fields(QStringLiteral("NombreEmpresa")).GetValue();
                                    rs.Delete();
                                    borrada = true;
                                  },
                                  [&] {
                                    // A deletion skipped after its failure left nothing to record.
                                    if (borrada)
                                      historia_.Escribir(
                                          *db.gCnn(), codigo15, OperacionHistoria::Baja,
                                          {{QStringLiteral("NombreEmpresa"), nombre, ado::Null()}});
                                  }},
                                 manejador);
  } catch (...) {
    HayError = true;
    throw;
  }
  if (r == trampa::Resultado::Completo) trampa::Ejecutar({[&] { Inicializa(); }}, manejador);
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
