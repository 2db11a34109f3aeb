// Validation before a save, and the save or deletion of the company on screen.
#include "company/rules/CambiosEmpresa.h"
#include "company/form/FormEmpresas.h"
#include "company/rules/HistoriaEmpresa.h"
#include "company/rules/SiembraEmpresa.h"
#include "company/rules/UnidadGrabacion.h"
#include "db/DB_Dll.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"
#include "session/AsignarValorCampo.h"
#include "session/ExplicarErrorGrabacion.h"
#include "settings/Configuracion.h"

namespace {

struct ClaveDatos {
  const char* clave;
  const char* columna;
};

// The company with the empty code is the suite's own: its data are settings.
constexpr ClaveDatos kClavesDatos[] = {
    {"NOMBRE", "NOMBREEMPRESA"},
    {"CALLE", "CALLE"},
    {"NUMERO", "NUMERO"},
    {"PISO", "PISO"},
    {"DEPARTAMENTO", "DPTO"},
    {"LOCALIDAD", "LOCALIDAD"},
    {"CPOSTAL", "CODIGOPOSTAL"},
    {"TELEFONO", "TELEFONO"},
    {"CUIT", "CUIT"},
};

}  // namespace

bool FormEmpresas::Datosvalidos() {
  HayError = false;
  for (int i = 0; i < kCamposEmpresa; ++i) {
    CampoValida(i);
    if (HayError) break;
  }
  return !HayError;
}

void FormEmpresas::PasoGrabarCampos(const QStringList* columnas) {
  auto& util = Utilidades::Compartido();
  ado::Recordset& rs = Empresas();
  for (int i = 0; i < kCamposEmpresa; ++i) {
    if (!vista_.CampoVisible(i)) continue;
    QString columna = QString::fromLatin1(kTablaCampos[i].columna);
    if (columnas && !columnas->contains(columna, Qt::CaseInsensitive)) continue;
    ultimaColumna_ = columna;
    if (columna.compare(QStringLiteral("IDEMPRESA"), Qt::CaseInsensitive) == 0) {
      ado::Field& clave = rs.Fields(QStringLiteral("IDEMPRESA"));
      const QString codigo = vista_.Texto(i).trimmed();
      // A stored company keeps its key as it is, blanks or none.
      if (!EsNuevo && clave.GetValue().toString().trimmed().compare(codigo, Qt::CaseInsensitive) == 0)
        continue;
      clave.SetValue(util.AlinearDerecha(codigo, 15));
    } else {
      QString texto = vista_.Texto(i);
      AsignarValorCampo(rs, columna, texto);
    }
  }
}

bool FormEmpresas::BorradaDesdeQueSeMostro() const {
  const QString codigo = vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed();
  return EsNuevo && !valoresMostrados_.isEmpty() && codigo.compare(codigoMostrado_, Qt::CaseInsensitive) == 0;
}

void FormEmpresas::GrabarRegistro() {
  auto& util = Utilidades::Compartido();
  ado::Recordset& rs = Empresas();
  bool pendiente = false;
  bool sinSiembra = false;
  auto codigo = [&] {
    const int i = vista_.IndiceCampo(QStringLiteral("idempresa"));
    return vista_.Texto(i).trimmed();
  };
  // What another operator did meanwhile, found inside the unit and settled
  // outside it, with the operator, before the save runs again.
  Ajeno ajeno = Ajeno::Ninguno;
  std::vector<int> choques;

  // A save rolled back after its row was stored leaves the company as it was
  // shown before, for the next try.
  bool guardada = false;
  QString codigoMostrado;
  QVector<ado::Value> valoresMostrados;
  std::optional<QString> codigoNuevo;
  auto comoAntes = [&] {
    codigoMostrado_ = codigoMostrado;
    valoresMostrados_ = valoresMostrados;
    codigoNuevo_ = codigoNuevo;
  };

  // Asked with the unit already rolled back: a retry runs it all again.
  auto manejador = [&](const ado::ErrorInfo& e, std::size_t, trampa::Omision omision) {
    HayError = true;
    if (pendiente) {
      trampa::IgnorarErrores({[&] { rs.CancelUpdate(); }});
      pendiente = false;
    }
    if (guardada) comoAntes();
    guardada = false;
    if (e.Number == ado::err::RowChanged) {
      if (ajeno == Ajeno::Ninguno) ajeno = Ajeno::Choque;
      return 0;
    }
    return static_cast<int>(ExplicarErrorGrabacion(e, ultimaColumna_, omision));
  };
  auto manejadorSimple = [&](const ado::ErrorInfo& e, std::size_t i) {
    return manejador(e, i, trampa::Omision::Permitida);
  };

  // Asked before the unit begins: a failed statement would end its transaction.
  const bool conHistoria = historia_.Disponible(*DB_Dll::Instancia().gCnn());

  if (!EsNuevo && !EsModificacion && EsBaja) {
    bool yaNoEstaba = false;
    const QString borrada = codigo();
    // Deleting what another operator changed since it was shown would take their
    // change with it unseen: they are named, and the operator decides.
    QStringList cambiados;
    switch (CambiadosPorOtro(borrada, cambiados)) {
      case AntesDeBorrar::Eliminada:
        yaNoEstaba = true;
        break;
      case AntesDeBorrar::Cambiada:
        if (ElOperador().MsgBox(QStringLiteral("Otro usuario cambió la empresa %1 después de que se mostró "
                                               "(%2). ¿La borra de todos modos?")
                                    .arg(borrada, cambiados.join(QStringLiteral(", "))),
                                vb::YesNo + vb::Exclamation + vb::DefaultButton2,
                                QStringLiteral("Atención!")) != vb::Yes) {
          // Not deleted: the company as it is stored now.
          HayError = true;
          AsignarDatos();
          return;
        }
        break;
      case AntesDeBorrar::Igual:
        break;
    }
    auto alBorrar = [&](const ado::ErrorInfo& e, std::size_t i, trampa::Omision omision) {
      // Deleted by somebody else first: what the operator asked for is done.
      if (e.Number == ado::err::RowChanged && i == 0) {
        yaNoEstaba = true;
        return 0;
      }
      return manejador(e, i, omision);
    };
    if (!yaNoEstaba && conHistoria) {
      BorrarConHistoria(alBorrar);
    } else if (!yaNoEstaba) {
      trampa::Ejecutar(
          {[&] { rs.Delete(); }, [&] { Inicializa(); }},
          [&](const ado::ErrorInfo& e, std::size_t i) { return alBorrar(e, i, trampa::Omision::Prohibida); });
    }
    if (yaNoEstaba) {
      trampa::Ejecutar({[&] { Inicializa(); }}, manejadorSimple);
      // Its row is still in the recordset: nothing of it is shown again.
      trampa::IgnorarErrores({[&] { rsEmpresas_->Close(); }});
      PonerAviso(borrada,
                 QStringLiteral("La empresa %1 ya había sido eliminada por otro usuario.").arg(borrada));
    }
    return;
  }

  // A value still open in the grid's editor belongs to what is saved; one
  // the column refuses stops the save, with the editor still open.
  if (!personalizados_.Confirmar()) {
    HayError = true;
    return;
  }
  const QString codigoPantalla = codigo();
  const bool mostradaExistente =
      !valoresMostrados_.isEmpty() && codigoPantalla.compare(codigoMostrado_, Qt::CaseInsensitive) == 0;
  const bool mostradaNueva = codigoNuevo_ && codigoPantalla.compare(*codigoNuevo_, Qt::CaseInsensitive) == 0;
  std::optional<FusionCambios> fusion;
  if (BorradaDesdeQueSeMostro()) {
    if (!PreguntarEliminada()) {
      HayError = true;
      return;
    }
  } else if (!EsNuevo && (mostradaExistente || mostradaNueva)) {
    fusion.emplace(CamposComparados(!mostradaExistente));
  }
  // Without a merge (a new company, or the screen saved under another
  // company's code) every value of the screen is written.
  std::optional<QStringList> columnas;
  auto escribe = [&](const char* columna) {
    return !columnas || columnas->contains(QString::fromLatin1(columna), Qt::CaseInsensitive);
  };

  // A step skipped after its failure leaves the later ones without what they
  // need: values go into the row only once it was added (or checked), and the
  // seeding is only for a company that is in the table.
  bool filaLista = false;
  // The row as stored and as written, for the history.
  QVector<ado::Value> antes, despues;
  auto enCompania = [&] { return guardada || !EsNuevo; };
  auto paso1 = [&] {
    filaLista = false;
    if (EsNuevo) {
      rs.AddNew();
    } else {
      // Read again inside the unit: what is compared is what gets overwritten.
      if (!ReleerEmpresa(codigo())) {
        ajeno = Ajeno::Eliminada;
        throw ado::Failure(ado::err::RowChanged,
                           QStringLiteral("La empresa %1 fue eliminada por otro usuario.").arg(codigo()),
                           QStringLiteral("MA_Empresas"));
      }
      if (fusion) {
        const FusionCambios::Comparacion comp = fusion->Comparar(ComoSeMostraria(fusion->Campos()));
        if (comp.Choca()) {
          ajeno = Ajeno::Choque;
          choques = comp.choques;
          throw ado::Failure(
              ado::err::RowChanged,
              QStringLiteral("Otro usuario cambió los mismos datos de la empresa %1.").arg(codigo()),
              QStringLiteral("MA_Empresas"));
        }
        columnas.emplace();
        for (int i : comp.escribir) columnas->push_back(fusion->Campos()[i].columna);
      }
    }
    antes = EsNuevo ? QVector<ado::Value>() : ValoresDeFila(rs);
    filaLista = true;
  };
  auto paso2 = [&] {
    if (filaLista) PasoGrabarCampos(columnas ? &*columnas : nullptr);
  };
  auto paso3 = [&] {
    if (filaLista && escribe("PideHonorarios"))
      rs.Fields(QStringLiteral("PideHonorarios")).SetValue(vista_.PideHonorarios());
  };
  auto paso4 = [&] {
    if (!filaLista || !escribe("Imagen")) return;
    ado::Field& f = rs.Fields(QStringLiteral("Imagen"));
    if (vista_.TieneLogo())
      vista_.GuardarLogoEnCampo(f);
    else
      f.SetValue(ado::Null());
  };
  auto paso5 = [&] {
    if (!filaLista) return;
    personalizados_.Confirmar();
    personalizados_.Grabar(rs, columnas ? &*columnas : nullptr);
    pendiente = true;
  };
  auto sembrar = [&](TablaPorEmpresa t) {
    return [&, t] {
      if (!sinSiembra && enCompania()) SembrarTabla(t, util.AlinearDerecha(codigo(), 15), Siembra::SinFilas);
    };
  };

  auto& db = DB_Dll::Instancia();
  // The company's row cannot be stored in part.
  constexpr trampa::Omision fila = trampa::Omision::Prohibida;
  trampa::Resultado r = trampa::Resultado::Abandonado;
  // The row can change between its reading and its writing without any clash
  // (the write is checked): the save then simply runs again, a few times.
  int vueltasSinChoque = 0;
  for (;;) {
    ajeno = Ajeno::Ninguno;
    choques.clear();
    try {
      r = EjecutarEnUnaTransaccion(
          *db.gCnn(), NombreTabla,
          {{paso1, fila},
           {paso2, fila},
           {paso3, fila},
           {paso4, fila},
           {paso5, fila},
           {[&] {
              if (!filaLista) return;
              codigoMostrado = codigoMostrado_;
              valoresMostrados = valoresMostrados_;
              codigoNuevo = codigoNuevo_;
              despues = ValoresDeFila(rs);
              rs.Update();
              pendiente = false;
              guardada = true;
              // The stored row is this screen's own from now on, unless the unit
              // is rolled back: then it is as shown before.
              RecordarMostrado();
            },
            fila},
           // The history goes with the change or the change does not go.
           {[&] {
              if (!conHistoria || !guardada) return;
              historia_.Escribir(*db.gCnn(), util.AlinearDerecha(codigo(), 15),
                                 EsNuevo ? OperacionHistoria::Alta : OperacionHistoria::Modificacion,
                                 CambiosEmpresa(ColumnasDeFila(rs), antes, despues));
            },
            fila},
           {[&] {
             if (!codigo().isEmpty() || !enCompania()) return;
             sinSiembra = true;
             for (const ClaveDatos& c : kClavesDatos) {
               const int i = vista_.IndiceCampo(QString::fromLatin1(c.columna));
               const QString clave = QString::fromLatin1(c.clave);
               if (!GrabaDfg(clave, vista_.Texto(i), QString(), false, QStringLiteral("DATOS")))
                 throw ado::Failure(ado::err::Unspecified,
                                    QStringLiteral("No se grabó el dato %1 de la configuración.").arg(clave));
             }
           }},
           {sembrar(TablaPorEmpresa::TiposComprobante)},
           {sembrar(TablaPorEmpresa::Comprobantes)},
           {sembrar(TablaPorEmpresa::Ejercicios)}},
          manejador);
    } catch (...) {
      // The connection went in the middle: nothing of the unit stayed, and the
      // screen is as it was before, for the whole action to run again.
      HayError = true;
      if (pendiente) trampa::IgnorarErrores({[&] { rs.CancelUpdate(); }});
      if (guardada) comoAntes();
      throw;
    }
    if (ajeno == Ajeno::Ninguno) break;
    // Rolled back: nothing of this try stayed.
    if (guardada) comoAntes();
    guardada = false;
    if (ajeno == Ajeno::Eliminada) {
      if (!PreguntarEliminada()) return;
      EsNuevo = true;
      EsModificacion = false;
      fusion.reset();
      columnas.reset();
    } else if (!fusion || choques.empty()) {
      if (++vueltasSinChoque > 3) {
        ElOperador().MsgBox(QStringLiteral("La empresa %1 está siendo modificada por otro usuario en este "
                                           "momento. Intente grabar nuevamente.")
                                .arg(codigo()),
                            vb::Exclamation, QStringLiteral("Aviso al operador..."));
        return;
      }
    } else if (!PreguntarChoques(*fusion, choques, !mostradaExistente)) {
      return;
    }
    HayError = false;
  }
  if (r == trampa::Resultado::Completo) {
    // Stored, after however many tries: the form returns to browse.
    HayError = false;
    const QStringList conservados = fusion ? fusion->Conservados() : QStringList();
    if (!conservados.isEmpty()) {
      codigoFusionado_ = codigo();
      avisoFusion_ = QStringLiteral("Se grabó la empresa %1 conservando lo que otro usuario cambió en: %2.")
                         .arg(codigoFusionado_, conservados.join(QStringLiteral(", ")));
    }
    return;
  }
  if (guardada) comoAntes();
}
