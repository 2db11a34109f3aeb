#include "company/form/HojaEmpresa.h"

#include <algorithm>
#include <array>

#include "company/form/Personalizados.h"
#include "company/rules/CamposEmpresa.h"
#include "company/rules/CompletitudEmpresa.h"
#include "db/DB_Dll.h"
#include "db/Sentencias.h"
#include "platform/client/Recordset.h"
#include "platform/services/Utilidades.h"

namespace {

const QString kTabla = QStringLiteral("P_MA_Empresas");

// The row of `tabla` whose `campo` is `valor` trimmed, as the form's checks find it.
bool Buscar(ado::Recordset& rs, const QString& tabla, const QString& valor, const QString& campo) {
  auto& db = DB_Dll::Instancia();
  rs.Open(db.SS_TSinonimos(SentenciaExisteEnTabla(tabla, valor, campo, ado::adBSTR, QString())), db.gCnn(),
          ado::adOpenForwardOnly, ado::adLockReadOnly);
  return !rs.Eof();
}

QString Provincia(const QString& codigo) {
  if (codigo.trimmed().isEmpty()) return {};
  ado::Recordset rs;
  const QString nombre =
      Buscar(rs, QStringLiteral("ta_estados"), codigo.trimmed(), QStringLiteral("codigo"))
          ? Utilidades::Compartido().NuloATexto(rs.Fields(QStringLiteral("Descripcion")).GetValue())
          : QString();
  rs.Close();
  return nombre;
}

// What the history adds to the sheet: nothing when the database keeps none.
struct UltimoCambio {
  bool disponible = false;
  std::optional<FilaHistoria> fila;  // none: nothing recorded for the company
};

// The sheet of the current row of `rs` (a row of P_MA_Empresas, every column).
HojaEmpresa ArmarHoja(ado::Recordset& rs, const QString& provincia, const QString& filasPorEmpresa,
                      const UltimoCambio& cambio, const QDate& fecha) {
  auto& util = Utilidades::Compartido();
  auto& db = DB_Dll::Instancia();
  const auto texto = [&](const char* columna) {
    return util.NuloATexto(rs.Fields(QLatin1String(columna)).GetValue()).trimmed();
  };
  HojaEmpresa h;
  h.titulo = QStringLiteral("Empresa %1 - %2").arg(texto("IdEmpresa"), texto("NombreEmpresa"));
  const ado::Value imagen = rs.Fields(QStringLiteral("Imagen")).GetValue();
  if (!ado::IsNull(imagen) && !ado::IsEmpty(imagen)) h.logo = imagen.toByteArray();

  // The fields in the order the form is read (its tab order), each under its label.
  std::array<int, kCamposEmpresa> orden{};
  for (int i = 0; i < kCamposEmpresa; ++i) orden[i] = i;
  std::sort(orden.begin(), orden.end(),
            [](int a, int b) { return kTablaCampos[a].ordenTab < kTablaCampos[b].ordenTab; });
  SeccionHoja datos{QStringLiteral("Datos Generales"), {}};
  for (const int i : orden) {
    const CampoEmpresa& c = kTablaCampos[i];
    QString valor = texto(c.columna);
    if (QLatin1String(c.columna) == QLatin1String("IdProvincia") && !provincia.isEmpty())
      valor += QStringLiteral(" - ") + provincia;
    datos.lineas.push_back({QString::fromLatin1(c.etiqueta), valor});
  }
  // The option the form selects: a Null asks for the gross salary.
  const ado::Value honorarios = rs.Fields(QStringLiteral("PideHonorarios")).GetValue();
  const bool pide = !ado::IsNull(honorarios) && !ado::IsEmpty(honorarios) && honorarios.toBool();
  datos.lineas.push_back(
      {QString(), pide ? QStringLiteral("Pedir Honorarios") : QStringLiteral("Pedir Sueldo Bruto")});
  h.secciones.push_back(datos);

  SeccionHoja personalizados{QStringLiteral("Campos Personalizados"), {}};
  for (int i = 0; i < rs.FieldCount(); ++i) {
    ado::Field& f = rs.Fields(i);
    if (f.Name().left(2).compare(QLatin1String("P_"), Qt::CaseInsensitive) != 0) continue;
    // As the grid shows it: a boolean as its text, a number or date as it is typed.
    const TipoTecleado tipo = db.ADOBoolean(f.Type()) ? TipoTecleado{} : TipoTecleado::De(f);
    personalizados.lineas.push_back({f.Name().mid(2).trimmed(), Personalizados::TextoDe(f.GetValue(), tipo)});
  }
  if (!personalizados.lineas.isEmpty()) h.secciones.push_back(personalizados);

  SeccionHoja estado{QStringLiteral("Estado"), {}};
  if (!filasPorEmpresa.isEmpty())
    estado.lineas.push_back({QStringLiteral("Filas por empresa:"), filasPorEmpresa});
  if (cambio.disponible) {
    const std::optional<FilaHistoria>& u = cambio.fila;
    estado.lineas.push_back(
        {QStringLiteral("Último cambio:"),
         u ? QStringLiteral("%1, %2 por %3").arg(u->momento, u->operacion.toLower(), u->usuario) +
                 (u->estacion.isEmpty() ? QString() : QStringLiteral(" en ") + u->estacion)
           : QStringLiteral("No hay cambios registrados para esta empresa.")});
  }
  if (!estado.lineas.isEmpty()) h.secciones.push_back(estado);

  h.pie =
      QStringLiteral("Velmora · Maestro de empresas · %1").arg(fecha.toString(QStringLiteral("dd/MM/yyyy")));
  return h;
}

}  // namespace

std::optional<HojaEmpresa> LeerHojaEmpresa(const QString& codigo, HistoriaEmpresa& historia,
                                           const QDate& fecha) {
  auto& db = DB_Dll::Instancia();
  ado::Recordset rs;
  if (!Buscar(rs, kTabla, codigo.trimmed(), QStringLiteral("IdEmpresa"))) {
    rs.Close();
    return std::nullopt;
  }
  const QString clave = rs.Fields(QStringLiteral("IdEmpresa")).GetValue().toString().trimmed();
  const QString codigo15 = Utilidades::Compartido().AlinearDerecha(clave, 15);
  const QString provincia =
      Provincia(Utilidades::Compartido().NuloATexto(rs.Fields(QStringLiteral("IdProvincia")).GetValue()));
  // The company with the empty code is the suite's own and has no rows of its own.
  const QString filas = clave.isEmpty() ? QString() : CompletitudDe(codigo15, db.gCnn()).Texto();
  UltimoCambio cambio;
  cambio.disponible = historia.Disponible(*db.gCnn());
  if (cambio.disponible) {
    const DialogoHistoria d = historia.Leer(db.gCnn(), codigo15);
    if (!d.filas.isEmpty()) cambio.fila = d.filas.first();
  }
  HojaEmpresa h = ArmarHoja(rs, provincia, filas, cambio, fecha);
  rs.Close();
  return h;
}
