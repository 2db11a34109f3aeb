// The status line under the tabs: how complete the per-company rows of the
// company on screen are, and their completion when the operator asks for it.
#include "company/rules/CompletitudEmpresa.h"
#include "company/form/FormEmpresas.h"
#include "company/rules/UnidadGrabacion.h"
#include "db/DB_Dll.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"
#include "session/ExplicarErrorGrabacion.h"

void FormEmpresas::MostrarEstadoTablas() {
  vista_.PonerEstadoTablas(QString(), false);
  const QString codigo = vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed();
  // The company with the empty code is the suite's own and has no such rows.
  if (codigo.isEmpty()) return;
  // Only a hint: a failed count leaves the line empty rather than the company unshown.
  trampa::IgnorarErrores({[&] {
    const Completitud c = CompletitudDe(Utilidades::Compartido().AlinearDerecha(codigo, 15));
    vista_.PonerEstadoTablas(c.Texto(), !c.Completa());
  }});
}

void FormEmpresas::CompletarTablas() {
  const QString codigo = vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed();
  if (codigo.isEmpty()) return;
  const QString titulo = QStringLiteral("Aviso al operador...");
  // Only a stored company has rows of its own to complete.
  if (valoresMostrados_.isEmpty() || codigo.compare(codigoMostrado_, Qt::CaseInsensitive) != 0) {
    ElOperador().MsgBox(QStringLiteral("Grabe la empresa %1 antes de completar sus filas.").arg(codigo),
                        vb::Information, titulo);
    return;
  }
  const QString codigo15 = Utilidades::Compartido().AlinearDerecha(codigo, 15);
  QStringList faltan;
  std::vector<trampa::PasoDeUnidad> pasos;
  for (const TablaPorEmpresa t : kTablasPorEmpresa) {
    const PlanSiembra plan = PlanearSiembra(t, codigo15, Siembra::Faltantes);
    if (plan.claves.isEmpty()) continue;
    faltan << TituloDe(t) + QStringLiteral(": ") + plan.claves.join(QStringLiteral(", "));
    pasos.push_back({[t, codigo15] { SembrarTabla(t, codigo15, Siembra::Faltantes); }});
  }
  if (pasos.empty()) {
    ElOperador().MsgBox(
        QStringLiteral("La empresa %1 ya tiene todas las filas de las plantillas.").arg(codigo),
        vb::Information, titulo);
    return;
  }
  const QString salto = QStringLiteral("\r\n");
  if (ElOperador().MsgBox(
          QStringLiteral("A la empresa %1 le faltan estas filas de las plantillas:").arg(codigo) + salto +
              salto + faltan.join(salto) + salto + salto + QStringLiteral("¿Las agrega?"),
          vb::YesNo + vb::Question, titulo) != vb::Yes)
    return;
  EjecutarEnUnaTransaccion(*DB_Dll::Instancia().gCnn(), SentenciasDe(kTablasPorEmpresa[0], codigo15).tabla,
                           pasos, [](const ado::ErrorInfo& e, std::size_t, trampa::Omision omision) {
                             return static_cast<int>(ExplicarErrorGrabacion(e, QString(), omision));
                           });
  MostrarEstadoTablas();
}
