// Two operators, one company: what the form compares before a save, the
// dialog that settles a clash, and the company shown after a merge.
#include "company/form/CambiosDeOtroUsuario.h"
#include "company/form/FormEmpresas.h"
#include "db/DB_Dll.h"
#include "platform/services/Operador.h"
#include "platform/services/Utilidades.h"

namespace {

constexpr const char* kHonorarios = "PideHonorarios";
constexpr const char* kImagen = "Imagen";

QString Caption(const char* etiqueta) {
  QString t = QString::fromLatin1(etiqueta).trimmed();
  if (t.endsWith(QLatin1Char(':'))) t.chop(1);
  return t;
}

bool EsPersonalizada(const QString& columna) {
  return columna.left(2).compare("P_", Qt::CaseInsensitive) == 0;
}

// A stored value in the terms the screen shows it in, which is what the merge compares.
ado::Value EnPantalla(VistaEmpresas& vista, const CampoComparado& c, const ado::Value& v,
                      ado::Recordset& rs) {
  switch (c.clase) {
    case ClaseDato::Opcion:
      return ado::IsNull(v) || ado::IsEmpty(v) ? false : v.toBool();
    case ClaseDato::Imagen:
      return vista.DatosLogoDe(v);
    case ClaseDato::Texto:
      break;
  }
  if (!EsPersonalizada(c.columna)) return Utilidades::Compartido().NuloATexto(v).trimmed();
  auto& db = DB_Dll::Instancia();
  ado::Field& f = rs.Fields(c.columna);
  return Personalizados::TextoDe(v, db.ADOBoolean(f.Type()) ? TipoTecleado{} : TipoTecleado::De(f));
}

}  // namespace

std::vector<CampoComparado> FormEmpresas::CamposComparados(bool desdeVacia) {
  std::vector<CampoComparado> campos;
  for (int i = 1; i < kCamposEmpresa; ++i) {
    if (!vista_.CampoVisible(i)) continue;
    campos.push_back({QString::fromLatin1(kTablaCampos[i].columna),
                      Caption(kTablaCampos[i].etiqueta),
                      ClaseDato::Texto,
                      QString(),
                      vista_.Texto(i),
                      {}});
  }
  campos.push_back({QString::fromLatin1(kHonorarios),
                    QStringLiteral("Honorarios"),
                    ClaseDato::Opcion,
                    false,
                    vista_.PideHonorarios(),
                    {}});
  campos.push_back({QString::fromLatin1(kImagen),
                    QStringLiteral("Logo"),
                    ClaseDato::Imagen,
                    QByteArray(),
                    vista_.DatosLogo(),
                    {}});
  for (const auto& [columna, texto] : personalizados_.Valores())
    campos.push_back({columna, columna.mid(2), ClaseDato::Texto, QString(), texto, {}});
  if (desdeVacia) return campos;
  // The values as they were shown, in the screen's terms.
  ado::Recordset& rs = Empresas();
  std::vector<ado::Value> mostrados(campos.size());
  for (std::size_t c = 0; c < campos.size(); ++c)
    for (int i = 0; i < rs.FieldCount() && i < valoresMostrados_.size(); ++i)
      if (rs.Fields(i).Name().compare(campos[c].columna, Qt::CaseInsensitive) == 0)
        mostrados[c] = valoresMostrados_[i];
  for (std::size_t c = 0; c < campos.size(); ++c)
    campos[c].mostrado = EnPantalla(vista_, campos[c], mostrados[c], rs);
  return campos;
}

std::vector<ado::Value> FormEmpresas::ComoSeMostraria(const std::vector<CampoComparado>& campos) {
  ado::Recordset& rs = Empresas();
  std::vector<ado::Value> r;
  r.reserve(campos.size());
  for (const CampoComparado& c : campos) {
    // A custom column dropped meanwhile reads as empty.
    if (!rs.HasField(c.columna)) {
      r.push_back(QString());
      continue;
    }
    r.push_back(EnPantalla(vista_, c, rs.Fields(c.columna).GetValue(), rs));
  }
  return r;
}

bool FormEmpresas::ReleerEmpresa(const QString& codigo) {
  auto& db = DB_Dll::Instancia();
  const bool conocida =
      claveGuardada_ && claveGuardada_->trimmed().compare(codigo.trimmed(), Qt::CaseInsensitive) == 0;
  QString literal =
      conocida ? *claveGuardada_ : Utilidades::Compartido().AlinearDerecha(codigo.trimmed(), 15);
  literal.replace(QLatin1Char('\''), QStringLiteral("''"));
  const QString sql =
      db.SS_TSinonimos(QStringLiteral("SELECT * FROM ") + NombreTabla +
                       QStringLiteral(" WHERE IdEmpresa = '") + literal + QStringLiteral("'"));
  tablaPendiente_ = false;
  if (rsEmpresas_->State() != ado::adStateClosed) rsEmpresas_->Close();
  rsEmpresas_->Open(sql, db.gCnn(), ado::adOpenDynamic, ado::adLockOptimistic);
  return !rsEmpresas_->Bof();
}

namespace {

// False when the operator cancelled.
bool Preguntar(CambiosDeOtroUsuario& dlg) {
  ElOperador().MostrarModal(dlg);
  return dlg.respuesta == CambiosDeOtroUsuario::Respuesta::Grabar && dlg.Completo();
}

}  // namespace

bool FormEmpresas::PreguntarEliminada() {
  CambiosDeOtroUsuario dlg;
  dlg.codigo = vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed();
  dlg.motivo = CambiosDeOtroUsuario::Motivo::Eliminada;
  return Preguntar(dlg);
}

bool FormEmpresas::PreguntarChoques(FusionCambios& fusion, const std::vector<int>& choques,
                                    bool codigoTomado) {
  CambiosDeOtroUsuario dlg;
  dlg.codigo = vista_.Texto(vista_.IndiceCampo(QStringLiteral("idempresa"))).trimmed();
  dlg.motivo =
      codigoTomado ? CambiosDeOtroUsuario::Motivo::CodigoTomado : CambiosDeOtroUsuario::Motivo::Modificada;
  for (int i : choques) {
    const CampoComparado& c = fusion.Campos()[i];
    dlg.filas.push_back({i, c.titulo, c.clase, c.mostrado, c.guardado, c.pantalla});
  }
  if (!Preguntar(dlg)) return false;
  for (const CambiosDeOtroUsuario::Fila& f : dlg.filas) fusion.Resolver(f.campo, f.eleccion);
  return true;
}

FormEmpresas::AntesDeBorrar FormEmpresas::CambiadosPorOtro(const QString& codigo, QStringList& titulos) {
  titulos.clear();
  if (valoresMostrados_.isEmpty()) return AntesDeBorrar::Igual;
  const std::vector<CampoComparado> campos = CamposComparados(false);
  if (!ReleerEmpresa(codigo)) return AntesDeBorrar::Eliminada;
  const std::vector<ado::Value> guardados = ComoSeMostraria(campos);
  for (std::size_t i = 0; i < campos.size(); ++i)
    if (!MismoDato(campos[i].mostrado, guardados[i])) titulos << campos[i].titulo;
  return titulos.isEmpty() ? AntesDeBorrar::Igual : AntesDeBorrar::Cambiada;
}

void FormEmpresas::MostrarFusionada() {
  if (avisoFusion_.isEmpty()) return;
  const QString aviso = std::exchange(avisoFusion_, QString());
  const QString codigo = std::exchange(codigoFusionado_, QString());
  vista_.PonerTexto(0, codigo);
  if (DB_Dll::Instancia().ComprobarEnTabla(NombreTabla, codigo, QString::fromLatin1(kTablaCampos[0].columna),
                                           rsEmpresas_.get(), ado::adBSTR,
                                           QString()) == DB_Dll::Existencia::Existe) {
    tablaPendiente_ = false;
    AsignarDatos();
  }
  PonerAviso(codigo, aviso);
}
