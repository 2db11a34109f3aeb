#include "company/form/FormEmpresas.h"

#include <QRegularExpression>

#include "company/form/CampoCuit.h"
#include "company/rules/LargoDeColumna.h"
#include "db/DB_Dll.h"
#include "db/NumeroSql.h"
#include "db/Sentencias.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"
#include "platform/widgets/CodigosTecla.h"
#include "session/Def_QConsulta.h"
#include "session/IniciarSesion.h"

namespace {

trampa::Manejador MostrarErrorCon(const QString& contexto) {
  return [contexto](const ado::ErrorInfo& e, std::size_t) {
    return Utilidades::Compartido().MostrarError(e, {}, contexto);
  };
}

QString Columna(int i) { return QString::fromLatin1(kTablaCampos[i].columna); }

int IndiceDeColumna(const char* columna) {
  for (int i = 0; i < kCamposEmpresa; ++i)
    if (QString::fromLatin1(kTablaCampos[i].columna).compare(QLatin1String(columna), Qt::CaseInsensitive) ==
        0)
      return i;
  return -1;
}

// The greatest code, as the code field proposes it: a number as the number
// it is, any other code as it is stored, trimmed (read as a number, "ABC"
// would be 0, and Enter would start a company "0").
QString UltimoCodigo(const QString& tabla, const QString& columna) {
  auto& db = DB_Dll::Instancia();
  ado::Recordset rs;
  rs.Open(db.SS_TSinonimos(SentenciaBuscaUltimoCodigo(tabla, columna, QString())), db.gCnn(),
          ado::adOpenForwardOnly, ado::adLockReadOnly);
  const ado::Value mayor = rs.Bof() ? ado::Value() : rs.Fields(QStringLiteral("MAYOR")).GetValue();
  rs.Close();
  if (ado::IsEmpty(mayor)) return QString();
  auto& util = Utilidades::Compartido();
  if (ado::IsNumber(mayor)) return util.NuloATexto(mayor.toDouble());
  static const QRegularExpression entero(QStringLiteral("^([+-]?[0-9]+)?$"));
  const QString texto = util.NuloATexto(mayor).trimmed();
  return entero.match(texto).hasMatch() ? util.NuloATexto(NumeroInicial(texto)) : texto;
}

}  // namespace

FormEmpresas::FormEmpresas(VistaEmpresas& vista)
    : vista_(vista),
      rsEmpresas_(std::make_unique<ado::Recordset>()),
      rsProvincia_(std::make_unique<ado::Recordset>()),
      personalizados_(vista.GrillaPersonalizados(), vista.EditorPersonalizados()) {
  // The code check re-opens this recordset with the types it already has, and
  // may do so before the table was ever read: it must be writable from the start.
  rsEmpresas_->SetCursorType(ado::adOpenDynamic);
  rsEmpresas_->SetLockType(ado::adLockOptimistic);
}

FormEmpresas::~FormEmpresas() = default;

void FormEmpresas::Proteger(const QString& evento, const std::function<void()>& cuerpo) {
  // As a trap of one step: an action that lost the connection runs again whole.
  const auto mostrar = [&evento](const ado::ErrorInfo& e) {
    Utilidades::Compartido().MostrarError(e, {}, evento);
  };
  try {
    trampa::Ejecutar({cuerpo}, [&](const ado::ErrorInfo& e, std::size_t) {
      mostrar(e);
      return 0;
    });
  } catch (...) {
    mostrar(trampa::ErrorDe(std::current_exception()));
  }
}

// ---------------------------------------------------------------- start-up

bool FormEmpresas::Form_Load() {
  bool conectado = false;
  trampa::Ejecutar({[&] {
                     bool usarIni = false;
                     QString parametros, cadena;
                     IniciarSesion(usarIni, parametros, cadena);
                     conectado = DB_Dll::Instancia().gOpenFlag;
                   }},
                   MostrarErrorCon(QStringLiteral("Load")));
  if (!conectado) return false;
  trampa::Ejecutar({[&] { vista_.ConfigurarFormulario(); }, [&] { vista_.PrepararFormulario(); },
                    [&] {
                      NombreTabla = QStringLiteral("P_MA_Empresas");
                      tablaPendiente_ = true;
                    },
                    [&] { Inicializa(); }, [&] { vista_.HabilitarAccion(QStringLiteral("REPORTE"), false); },
                    [&] {
                      usuariosApagada_ = true;
                      vista_.HabilitarPestana(static_cast<int>(Pestana::Usuarios), false);
                    }},
                   MostrarErrorCon(QStringLiteral("Load")));
  return true;
}

void FormEmpresas::Form_Unload() {
  tablaPendiente_ = false;  // nothing to read on the way out
  recorrido_.Olvidar();
  trampa::Ejecutar({[&] { vista_.CursorNormal(); },
                    [&] { DB_Dll::Instancia().CierraRecordset(*rsEmpresas_); }, [&] { vista_.Ocultar(); }},
                   MostrarErrorCon(QStringLiteral("Unload")));
}

bool FormEmpresas::Form_KeyDown(int KeyCode, int Shift) {
  bool tomada = false;
  Proteger(QStringLiteral("Form_KeyDown"), [&] {
    const int mods = Shift & (tecla::Mayusculas | tecla::Control | tecla::Alt);
    if (KeyCode == tecla::Letra('H') && mods == tecla::Control) {
      tomada = true;
      MostrarHistoria();
      return;
    }
    if (KeyCode == tecla::Letra('T') && mods == tecla::Control) {
      tomada = true;
      CompletarTablas();
      return;
    }
    tomada = vista_.TeclaBarras(KeyCode, Shift);
  });
  return tomada;
}

void FormEmpresas::AbrirRecordset(const QString& TablaActiva) {
  tablaPendiente_ = false;
  // Nothing of the whole table is read: each move reads the company it reaches.
  trampa::Ejecutar({[&] { DB_Dll::Instancia().CierraRecordset(*rsEmpresas_); },
                    [&] { recorrido_.Empezar(TablaActiva, Columna(0)); }},
                   MostrarErrorCon(QStringLiteral("Abrir Recordset")));
}

void FormEmpresas::Mover(Movimiento m) {
  if (tablaPendiente_) AbrirRecordset(NombreTabla);
  if (recorrido_.Activo()) return recorrido_.Mover(m, *rsEmpresas_);
  ado::Recordset& rs = *rsEmpresas_;
  switch (m) {
    case Movimiento::Primero:
      return rs.MoveFirst();
    case Movimiento::Anterior:
      return rs.MovePrevious();
    case Movimiento::Siguiente:
      return rs.MoveNext();
    case Movimiento::Ultimo:
      return rs.MoveLast();
  }
}

ado::Recordset& FormEmpresas::Empresas() {
  if (tablaPendiente_) AbrirRecordset(NombreTabla);
  if (recorrido_.Activo()) recorrido_.CargarActual(*rsEmpresas_);
  return *rsEmpresas_;
}

// ---------------------------------------------------------------- states

void FormEmpresas::Inicializa() {
  auto& db = DB_Dll::Instancia();
  EsNuevo = EsBaja = EsModificacion = false;
  vista_.LimpiarFormulario();
  vista_.PonerDescripcionProvincia(QString());
  vista_.PonerEstadoTablas(QString(), false);
  vista_.PonerPadron(QString(), QString());
  vista_.PrepararCampos(NombreTabla, db.gConnString);
  LimitarLargos();
  QString texto = UltimoCodigo(NombreTabla, Columna(0));
  if (texto.trimmed().isEmpty()) texto = QStringLiteral("1");
  vista_.PonerTexto(0, texto);
  vista_.SeleccionarPestana(static_cast<int>(Pestana::DatosGenerales));
  vista_.LimpiarLogo();
  vista_.PonerPideHonorarios(false);  // as designed: "Pedir Sueldo Bruto"
  personalizados_.Inicializa();
  codigoMostrado_.clear();
  valoresMostrados_.clear();
  codigoNuevo_.reset();
  PonerAviso(QString(), QString());
  DetalleOn(false);
}

void FormEmpresas::PonerAviso(const QString& codigo, const QString& texto) {
  codigoAviso_ = codigo.trimmed();
  vista_.PonerAviso(texto);
}

void FormEmpresas::MostrandoEmpresa(const QString& codigo) {
  if (codigo.trimmed().compare(codigoAviso_, Qt::CaseInsensitive) != 0) PonerAviso(QString(), QString());
}

void FormEmpresas::DetalleOn(bool on) {
  for (int i = 0; i < kCamposEmpresa; ++i) vista_.HabilitarCampo(i, on);
  vista_.HabilitarCampo(0, true);
  vista_.MostrarNavegacion(!on);
  vista_.HabilitarAccion(QStringLiteral("NUEVO"), !on);
  vista_.HabilitarAccion(QStringLiteral("CERRAR"), !on);
  vista_.HabilitarAccion(QStringLiteral("PLANILLA"), !on);
  vista_.HabilitarAccion(QStringLiteral("GRABAR"), on);
  vista_.HabilitarAccion(QStringLiteral("CANCELAR"), on);
  vista_.HabilitarAccion(QStringLiteral("BORRAR"), on);
  vista_.HabilitarPestana(static_cast<int>(Pestana::Usuarios), on && !usuariosApagada_);
  vista_.HabilitarPestana(static_cast<int>(Pestana::CamposPersonalizados), on);
  enEdicion_ = on;
  HabilitarReporte();
}

void FormEmpresas::InicializaDetalle() {
  for (int i = 1; i < kCamposEmpresa; ++i) vista_.PonerTexto(i, QString());
  vista_.PonerDescripcionProvincia(QString());
  vista_.PonerEstadoTablas(QString(), false);
  vista_.PonerPadron(QString(), QString());
}

void FormEmpresas::LimitarLargos() {
  if (largosFijados_) return;
  // The table's columns, without reading its rows: a text longer than its
  // column would only be refused by the server when the company is saved.
  auto& db = DB_Dll::Instancia();
  ado::Recordset forma;
  trampa::IgnorarErrores({[&] {
                            forma.Open(db.SS_TSinonimos(QStringLiteral("SELECT * FROM ") + NombreTabla +
                                                        QStringLiteral(" WHERE 1 = 0")),
                                       db.gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly);
                          },
                          [&] {
                            for (int i = 0; i < kCamposEmpresa; ++i) {
                              if (!forma.HasField(Columna(i))) continue;
                              const int largo = LargoDeColumna(forma.Fields(Columna(i)));
                              if (largo > 0) vista_.LimitarLargo(i, largo);
                              if (i == IndiceDeColumna("CUIT")) largoCuit_ = largo;
                            }
                            largosFijados_ = true;
                          },
                          [&] { forma.Close(); }});
}

// ---------------------------------------------------------------- display

bool FormEmpresas::AsignarDatos() {
  auto& util = Utilidades::Compartido();
  if (tablaPendiente_) AbrirRecordset(NombreTabla);
  // Moved past either end: no current record, the screen stays.
  if (recorrido_.Activo() && !recorrido_.EnFila()) {
    EsModificacion = true;
    return true;
  }
  ado::Recordset& rs = *rsEmpresas_;
  // A recordset whose open failed (and was reported) has nothing to show.
  if (!recorrido_.Activo() && rs.State() == ado::adStateClosed) return true;
  std::vector<trampa::Paso> pasos;
  // The row of the company the navigation reached, read under this trap as
  // the rest of the display is.
  pasos.push_back([&] {
    if (recorrido_.Activo()) recorrido_.CargarActual(rs);
  });
  pasos.push_back([&] { EsModificacion = true; });
  for (int i = 0; i < kCamposEmpresa; ++i) {
    pasos.push_back([&, i] {
      if (vista_.CampoVisible(i))
        vista_.PonerTexto(i, util.NuloATexto(rs.Fields(Columna(i)).GetValue()).trimmed());
    });
  }
  pasos.push_back([&] {
    const ado::Value v = rs.Fields(QStringLiteral("PideHonorarios")).GetValue();
    vista_.PonerPideHonorarios(ado::IsNull(v) ? false : v.toBool());
  });
  pasos.push_back([&] {
    ado::Field& f = rs.Fields(QStringLiteral("Imagen"));
    if (ado::IsNull(f.GetValue()))
      vista_.LimpiarLogo();
    else
      vista_.MostrarLogoDeCampo(f);
  });
  pasos.push_back([&] { personalizados_.Asignar(rs); });
  pasos.push_back([&] { MostrarProvincia(vista_.Texto(IndiceDeColumna("IdProvincia"))); });
  pasos.push_back([&] { RecordarMostrado(); });
  pasos.push_back([&] { MostrarEstadoTablas(); });
  pasos.push_back([&] { MostrarPadron(); });
  bool incompleto = false;
  trampa::Ejecutar(pasos, [&](const ado::ErrorInfo& e, std::size_t) {
    // No current record: the display simply stops where it got to.
    if (e.Number == ado::err::NoCurrentRecord) return 0;
    const int respuesta = Utilidades::Compartido().MostrarError(e, {}, QStringLiteral("Asignar Datos"));
    if (respuesta == trampa::Reintentar) return respuesta;
    // A step left undone would leave the previous company's data beside this
    // one's, and a save would store them into it: nothing is shown instead,
    // so the steps after it need not run (nor fail again).
    incompleto = true;
    return 0;
  });
  if (incompleto) {
    LimpiarPantalla();
    PonerAviso(QString(), QString());
  } else {
    MostrandoEmpresa(vista_.Texto(0));
  }
  HabilitarReporte();
  return !incompleto;
}

void FormEmpresas::LimpiarPantalla() {
  EsModificacion = false;
  InicializaDetalle();
  vista_.LimpiarLogo();
  vista_.PonerPideHonorarios(false);
  personalizados_.Inicializa();
  codigoMostrado_.clear();
  valoresMostrados_.clear();
  codigoNuevo_.reset();
}

bool FormEmpresas::MostrarProvincia(const QString& codigo) {
  const auto existe = DB_Dll::Instancia().ComprobarEnTabla(QStringLiteral("ta_estados"), codigo.trimmed(),
                                                           QStringLiteral("codigo"), rsProvincia_.get(),
                                                           ado::adBSTR, QString());
  // A failed check shows no description rather than the previous company's.
  vista_.PonerDescripcionProvincia(existe == DB_Dll::Existencia::Existe
                                       ? Utilidades::Compartido().NuloATexto(
                                             rsProvincia_->Fields(QStringLiteral("Descripcion")).GetValue())
                                       : QString());
  return existe != DB_Dll::Existencia::Fallo;
}

void FormEmpresas::RecordarMostrado() {
  ado::Recordset& rs = Empresas();
  claveGuardada_ = rs.Fields(Columna(0)).GetValue().toString();
  codigoMostrado_ = claveGuardada_->trimmed();
  codigoNuevo_.reset();
  valoresMostrados_.clear();
  for (int i = 0; i < rs.FieldCount(); ++i) valoresMostrados_.push_back(rs.Fields(i).GetValue());
}

std::optional<QString> FormEmpresas::MostradoEn(const QString& columna) {
  ado::Recordset& rs = *rsEmpresas_;
  const QString codigo = vista_.Texto(IndiceDeColumna("IdEmpresa")).trimmed();
  if (valoresMostrados_.isEmpty() || codigo.compare(codigoMostrado_, Qt::CaseInsensitive) != 0 ||
      rs.State() == ado::adStateClosed)
    return std::nullopt;
  for (int i = 0; i < rs.FieldCount() && i < valoresMostrados_.size(); ++i)
    if (rs.Fields(i).Name().compare(columna, Qt::CaseInsensitive) == 0)
      return Utilidades::Compartido().NuloATexto(valoresMostrados_[i]).trimmed();
  return std::nullopt;
}

// ---------------------------------------------------------------- validation

void FormEmpresas::CampoValida(int Index) {
  auto& db = DB_Dll::Instancia();
  HayError = false;
  const QString valor = vista_.Texto(Index).trimmed();
  const QString columna = Columna(Index);
  if (columna.contains(QStringLiteral("Nombre"), Qt::CaseInsensitive) && valor.isEmpty()) {
    mensaje_ = QStringLiteral(" Debe informar el Codigo!");
    HayError = true;
  } else if (columna.compare(QStringLiteral("NombreEmpresa"), Qt::CaseInsensitive) == 0) {
    // The name the register's is compared with.
    if (!Grabando) MostrarPadron();
  } else if (columna.compare(QStringLiteral("IdEmpresa"), Qt::CaseInsensitive) == 0) {
    tablaPendiente_ = false;  // the check re-opens the recordset on this company
    recorrido_.Olvidar();
    const auto existe =
        db.ComprobarEnTabla(NombreTabla, valor, columna, rsEmpresas_.get(), ado::adBSTR, QString());
    if (existe == DB_Dll::Existencia::Fallo) {
      // The operator saw why the check failed: the company is neither shown nor taken for a new one.
      HayError = true;
      vista_.FocoCampo(Index);
      return;
    }
    if (existe == DB_Dll::Existencia::Existe) {
      claveGuardada_ = rsEmpresas_->Fields(columna).GetValue().toString();
      EsNuevo = false;
      EsModificacion = true;
      if (!Grabando && !AsignarDatos()) {
        // The company could not be shown whole: it is not edited half-shown.
        HayError = true;
        DetalleOn(false);
        return;
      }
    } else {
      if (!Grabando) {
        InicializaDetalle();
        // The logo and the fee choice shown belong to the previous company, not to this new one.
        vista_.LimpiarLogo();
        vista_.PonerPideHonorarios(false);
        codigoMostrado_.clear();
        valoresMostrados_.clear();
        codigoNuevo_ = valor;
        MostrandoEmpresa(valor);
      }
      EsNuevo = true;
      EsModificacion = false;
    }
    if (!Grabando) personalizados_.Asignar(*rsEmpresas_);
    DetalleOn(true);
  } else if (columna.compare(QStringLiteral("CUIT"), Qt::CaseInsensitive) == 0) {
    // Never an error: the operator decides what stays in the field.
    vista_.PonerTexto(Index, campocuit::Confirmar(vista_.Texto(Index), MostradoEn(columna), NombreTabla,
                                                  vista_.Texto(IndiceDeColumna("IdEmpresa")), largoCuit_));
    if (!Grabando) MostrarPadron();
  } else if (columna.compare(QStringLiteral("idprovincia"), Qt::CaseInsensitive) == 0) {
    if (!MostrarProvincia(valor)) {
      HayError = true;
      vista_.FocoCampo(Index);
      return;
    }
  }
  if (!HayError) return;
  ElOperador().MsgBox(mensaje_, vb::Information, QStringLiteral("Aviso al operador..."));
  mensaje_.clear();
  vista_.FocoCampo(Index);
}

// ---------------------------------------------------------------- text fields

void FormEmpresas::txtFields_GotFocus(int Index) {
  Proteger(QStringLiteral("txtFields_GotFocus"), [&] {
    CampoActual = Index;
    vista_.HabilitarAccion(QStringLiteral("CONSULTAR"),
                           !QString::fromLatin1(kTablaCampos[Index].tag).isEmpty());
  });
}

void FormEmpresas::txtFields_KeyDown(int Index, int KeyCode, int Shift) {
  Proteger(QStringLiteral("txtFields_KeyDown"), [&] {
    // Tab confirms the CUIT too: its check must not be skipped by leaving the field that way.
    const bool tabEnCuit =
        KeyCode == tecla::Tab && Columna(Index).compare(QStringLiteral("CUIT"), Qt::CaseInsensitive) == 0;
    if (!vista_.EsTeclaAvance(KeyCode) && !tabEnCuit) return;
    CampoValida(Index);
    if (!HayError) vista_.AvanzarFoco(KeyCode);
  });
}

void FormEmpresas::txtFields_KeyPress(int Index, int& KeyAscii) {
  Proteger(QStringLiteral("txtFields_KeyPress"), [&] { vista_.FiltrarTecla(Index, KeyAscii); });
}

void FormEmpresas::txtFields_MouseDown(int Index, int Button, int) {
  Proteger(QStringLiteral("txtFields_MouseDown"), [&] {
    if (Button == tecla::BotonDerecho) ConsultarCampo();
  });
}

void FormEmpresas::ConsultarCampo() {
  const int indice = CampoActual;
  QString tabla = QString::fromLatin1(kTablaCampos[indice].tag).trimmed();
  if (tabla.isEmpty()) return;
  QString descripcion, codigo, adicional, donde;
  bool libre = true;
  ConsultaPorTabla(tabla, descripcion, codigo, adicional, libre, donde);
  if (codigo.isEmpty()) return;
  vista_.PonerTexto(indice, codigo.trimmed());
  txtFields_KeyDown(indice, tecla::Enter, 0);
}

// ---------------------------------------------------------------- bars

void FormEmpresas::NavBar1_Click(const QString& clave) {
  Proteger(QStringLiteral("NavBar1_Click"), [&] {
    const QString k = clave.trimmed().toUpper();
    std::vector<trampa::Paso> pasos;
    if (k == QLatin1String("PRIMERO")) {
      pasos = {[&] { AbrirRecordset(NombreTabla); }, [&] { Mover(Movimiento::Primero); }};
    } else if (k == QLatin1String("ANTERIOR")) {
      pasos = {[&] { Mover(Movimiento::Anterior); }};
    } else if (k == QLatin1String("SIGUIENTE")) {
      pasos = {[&] { Mover(Movimiento::Siguiente); }};
    } else if (k == QLatin1String("ULTIMO")) {
      pasos = {[&] { AbrirRecordset(NombreTabla); }, [&] { Mover(Movimiento::Ultimo); }};
    }
    pasos.push_back([&] { AsignarDatos(); });
    trampa::IgnorarErrores(pasos);
  });
}

void FormEmpresas::FocoCodigoSeleccionado() {
  vista_.FocoCampo(0);
  vista_.SeleccionarCampo(0, 0, vista_.Texto(0).trimmed().size());
}

void FormEmpresas::ActBar1_Click(const QString& clave) {
  const QString k = clave.trimmed().toUpper();
  if (k == QLatin1String("GRABAR")) {
    // Grabando must fall back whatever happens inside.
    Proteger(QStringLiteral("ActBar1_Click"), [&] {
      Grabando = true;
      if (Datosvalidos()) {
        GrabarRegistro();
        if (!HayError) {
          Inicializa();
          DetalleOn(false);
          MostrarFusionada();
          FocoCodigoSeleccionado();
        }
      }
    });
    Grabando = false;
    return;
  }
  Proteger(QStringLiteral("ActBar1_Click"), [&] {
    if (k == QLatin1String("NUEVO")) {
      Inicializa();
      EsNuevo = true;
      EsBaja = false;
      EsModificacion = false;
      vista_.FocoCampo(0);
    } else if (k == QLatin1String("BORRAR")) {
      const int r =
          ElOperador().MsgBox(QStringLiteral("Confirma la baja de este registro?"),
                              vb::YesNo + vb::Exclamation + vb::DefaultButton2, QStringLiteral("Atención!"));
      if (r == vb::Yes) {
        EsNuevo = false;
        EsBaja = true;
        EsModificacion = false;
        GrabarRegistro();
        if (!HayError) {
          // With the only row gone there is nothing to move to.
          trampa::IgnorarErrores({[&] {
            if (!Empresas().Bof()) Empresas().MoveFirst();
          }});
          AsignarDatos();
        }
      }
      FocoCodigoSeleccionado();
    } else if (k == QLatin1String("PLANILLA")) {
      MostrarPlanilla();
    } else if (k == QLatin1String("CONSULTAR")) {
      ConsultarCampo();
    } else if (k == QLatin1String("CERRAR")) {
      Form_Unload();
    } else if (k == QLatin1String("CANCELAR")) {
      Inicializa();
      AbrirRecordset(NombreTabla);
      AsignarDatos();
      FocoCodigoSeleccionado();
    } else if (k == QLatin1String("REPORTE")) {
      MostrarReporte();
    }
  });
}

// ---------------------------------------------------------------- custom fields grid

void FormEmpresas::MSFlexPers_LeaveCell() {
  Proteger(QStringLiteral("MSFlexPers_LeaveCell"), [&] { personalizados_.Confirmar(); });
}

void FormEmpresas::MSFlexPers_GotFocus() {
  Proteger(QStringLiteral("MSFlexPers_GotFocus"), [&] { personalizados_.Confirmar(); });
}

void FormEmpresas::MSFlexPers_DblClick() {
  Proteger(QStringLiteral("MSFlexPers_DblClick"), [&] { personalizados_.IniciarEdicion(tecla::Espacio); });
}

void FormEmpresas::MSFlexPers_KeyPress(int KeyAscii) {
  Proteger(QStringLiteral("MSFlexPers_KeyPress"), [&] { personalizados_.IniciarEdicion(KeyAscii); });
}

void FormEmpresas::TxtEdit_KeyDown(int KeyCode, int Shift) {
  Proteger(QStringLiteral("TxtEdit_KeyDown"),
           [&] { personalizados_.TeclaEditor(KeyCode, Shift, [this] { vista_.ProcesarEventos(); }); });
}

void FormEmpresas::TxtEdit_KeyPress(int& KeyAscii) {
  Proteger(QStringLiteral("TxtEdit_KeyPress"),
           [&] { personalizados_.CaracterEditor(KeyAscii, vista_.SeparadorDecimal()); });
}
