// Validation before a save, and the save or deletion of the company on screen.
#include "company/CambiosEmpresa.h"
#include "company/FormEmpresas.h"
#include "company/HistoriaEmpresa.h"
#include "company/SiembraEmpresa.h"
#include "company/UnidadGrabacion.h"
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

bool MismoValor(const ado::Value& a, const ado::Value& b) {
  if (ado::IsNull(a) || ado::IsNull(b)) return ado::IsNull(a) == ado::IsNull(b);
  if (a.typeId() == QMetaType::QByteArray || b.typeId() == QMetaType::QByteArray)
    return a.toByteArray() == b.toByteArray();
  if (a.toString() == b.toString()) return true;
  bool na = false, nb = false;
  const double da = a.toDouble(&na), dbl = b.toDouble(&nb);
  return na && nb && da == dbl;
}

}  // namespace

bool FormEmpresas::Datosvalidos() {
  HayError = false;
  for (int i = 0; i < kCamposEmpresa; ++i) {
    CampoValida(i);
    if (HayError) break;
  }
  return !HayError;
}

void FormEmpresas::VerificarSinCambiosAjenos() {
  ado::Recordset& rs = Empresas();
  const QString codigo =
      rs.Fields(QString::fromLatin1(kTablaCampos[0].columna)).GetValue().toString().trimmed();
  const auto esEste = [&](const QString& otro) { return codigo.compare(otro, Qt::CaseInsensitive) == 0; };
  // What is there now becomes the reference: the operator has been told, and
  // a retry stores the screen over it.
  if (codigoNuevo_ && esEste(*codigoNuevo_)) {
    RecordarMostrado();
    throw ado::Failure(
        ado::err::RowChanged,
        QStringLiteral("La empresa %1 fue dada de alta por otro usuario después de mostrarse como nueva. "
                       "Cancele para ver los datos actuales, o reintente para grabar los suyos.")
            .arg(codigo),
        QStringLiteral("MA_Empresas"));
  }
  if (valoresMostrados_.isEmpty() || !esEste(codigoMostrado_) || valoresMostrados_.size() != rs.FieldCount())
    return;
  for (int i = 0; i < rs.FieldCount(); ++i) {
    if (MismoValor(rs.Fields(i).GetValue(), valoresMostrados_[i])) continue;
    RecordarMostrado();
    throw ado::Failure(
        ado::err::RowChanged,
        QStringLiteral("La empresa %1 fue modificada por otro usuario después de mostrarse. "
                       "Cancele para ver los datos actuales, o reintente para grabar los suyos.")
            .arg(codigo),
        QStringLiteral("MA_Empresas"));
  }
}

void FormEmpresas::PasoGrabarCampos() {
  auto& util = Utilidades::Compartido();
  ado::Recordset& rs = Empresas();
  for (int i = 0; i < kCamposEmpresa; ++i) {
    if (!vista_.CampoVisible(i)) continue;
    QString columna = QString::fromLatin1(kTablaCampos[i].columna);
    ultimaColumna_ = columna;
    if (columna.compare(QStringLiteral("IDEMPRESA"), Qt::CaseInsensitive) == 0) {
      rs.Fields(QStringLiteral("IDEMPRESA")).SetValue(util.AlinearDerecha(vista_.Texto(i).trimmed(), 15));
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
  bool rehacer = false;
  bool sinSiembra = false;

  auto manejador = [&](const ado::ErrorInfo& e, std::size_t) {
    HayError = true;
    if (pendiente) {
      trampa::IgnorarErrores({[&] { rs.CancelUpdate(); }});
      pendiente = false;
      // The row's values went with the cancel: a retry has to set them again.
      rehacer = true;
    }
    const int respuesta = ExplicarErrorGrabacion(e, ultimaColumna_);
    // Going on past a conflict would store over the other operator's change:
    // only a retry, the operator's explicit choice, stores this screen.
    if (e.Number == ado::err::RowChanged && respuesta == trampa::Siguiente) return 0;
    return respuesta;
  };

  // Asked before the unit begins: a failed statement would end its transaction.
  const bool conHistoria = historia_.Disponible(*DB_Dll::Instancia().gCnn());

  if (!EsNuevo && !EsModificacion && EsBaja) {
    if (conHistoria) {
      BorrarConHistoria(manejador);
      return;
    }
    trampa::Ejecutar({[&] { rs.Delete(); }, [&] { Inicializa(); }}, manejador);
    return;
  }

  if (BorradaDesdeQueSeMostro()) {
    const QString codigo = vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed();
    const int r = ElOperador().MsgBox(
        QStringLiteral("La empresa %1 fue eliminada por otro usuario después de mostrarse. ¿Desea grabarla "
                       "nuevamente como empresa nueva?")
            .arg(codigo),
        vb::YesNo + vb::Exclamation + vb::DefaultButton2, QStringLiteral("Aviso al operador..."));
    if (r != vb::Yes) {
      HayError = true;
      return;
    }
  }
  // A save rolled back after its row was stored leaves the company as it was
  // shown before, for the next try.
  bool guardada = false;
  QString codigoMostrado;
  QVector<ado::Value> valoresMostrados;
  std::optional<QString> codigoNuevo;

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
      VerificarSinCambiosAjenos();
    }
    antes = EsNuevo ? QVector<ado::Value>() : ValoresDeFila(rs);
    filaLista = true;
  };
  auto paso2 = [&] {
    if (filaLista) PasoGrabarCampos();
  };
  auto paso3 = [&] {
    if (filaLista) rs.Fields(QStringLiteral("PideHonorarios")).SetValue(vista_.PideHonorarios());
  };
  auto paso4 = [&] {
    if (!filaLista) return;
    ado::Field& f = rs.Fields(QStringLiteral("Imagen"));
    if (vista_.TieneLogo())
      vista_.GuardarLogoEnCampo(f);
    else
      f.SetValue(ado::Null());
  };
  auto paso5 = [&] {
    if (!filaLista) return;
    // A value still open in the grid's editor belongs to what is saved.
    personalizados_.Confirmar();
    personalizados_.Grabar(rs);
    pendiente = true;
  };
  auto codigo = [&] {
    const int i = vista_.IndiceCampo(QStringLiteral("idempresa"));
    return vista_.Texto(i).trimmed();
  };
  auto sembrar = [&](TablaPorEmpresa t) {
    return [&, t] {
      if (!sinSiembra && enCompania()) SembrarTabla(t, util.AlinearDerecha(codigo(), 15));
    };
  };

  auto& db = DB_Dll::Instancia();
  auto comoAntes = [&] {
    codigoMostrado_ = codigoMostrado;
    valoresMostrados_ = valoresMostrados;
    codigoNuevo_ = codigoNuevo;
  };
  trampa::Resultado r = trampa::Resultado::Abandonado;
  try {
    r = EjecutarEnUnaTransaccion(
        *db.gCnn(), NombreTabla,
        {paso1, paso2, paso3, paso4, paso5,
         [&] {
           if (rehacer) {
             rehacer = false;
             paso1();
             paso2();
             paso3();
             paso4();
             paso5();
           }
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
         [&] {
           if (!conHistoria || !guardada) return;
           historia_.Escribir(*db.gCnn(), util.AlinearDerecha(codigo(), 15),
                              EsNuevo ? OperacionHistoria::Alta : OperacionHistoria::Modificacion,
                              CambiosEmpresa(ColumnasDeFila(rs), antes, despues));
         },
         [&] {
           if (!codigo().isEmpty() || !enCompania()) return;
           sinSiembra = true;
           for (const ClaveDatos& c : kClavesDatos) {
             const int i = vista_.IndiceCampo(QString::fromLatin1(c.columna));
             const QString clave = QString::fromLatin1(c.clave);
             if (!GrabaDfg(clave, vista_.Texto(i), QString(), false, QStringLiteral("DATOS")))
               throw ado::Failure(ado::err::Unspecified,
                                  QStringLiteral("No se grabó el dato %1 de la configuración.").arg(clave));
           }
         },
         sembrar(TablaPorEmpresa::TiposComprobante), sembrar(TablaPorEmpresa::Comprobantes),
         sembrar(TablaPorEmpresa::Ejercicios)},
        manejador);
  } catch (...) {
    // The connection went in the middle: nothing of the unit stayed, and the
    // screen is as it was before, for the whole action to run again.
    HayError = true;
    if (pendiente) trampa::IgnorarErrores({[&] { rs.CancelUpdate(); }});
    if (guardada) comoAntes();
    throw;
  }
  if (r == trampa::Resultado::Completo || !guardada) return;
  comoAntes();
}
