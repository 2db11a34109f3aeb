#include "company/rules/VerificarEmpresas.h"

#include <QHash>
#include <QStringList>
#include <optional>

#include "company/rules/CompletitudEmpresa.h"
#include "company/rules/ConsultaPadron.h"
#include "company/rules/Cuit.h"
#include "company/rules/LineaPadron.h"
#include "company/rules/SiembraEmpresa.h"
#include "company/rules/UnidadGrabacion.h"
#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/client/Recordset.h"
#include "platform/services/Utilidades.h"

namespace {

constexpr int kLargoCodigo = 15;

QString Literal(const QString& texto) {
  return QLatin1Char('\'') + DuplicarApostrofes(texto) + QLatin1Char('\'');
}

struct Empresa {
  QString codigo;  // as stored
  QString nombre;
  QString cuit;
};

QString Texto(ado::Recordset& rs, const char* columna) {
  return Utilidades::Compartido().NuloATexto(rs.Fields(QString::fromLatin1(columna)).GetValue());
}

// The next companies in code order after `despuesDe` (from the first when none).
std::vector<Empresa> Pagina(const std::optional<QString>& despuesDe, int porPagina,
                            const ado::ConnectionPtr& cnn) {
  QString sql =
      QStringLiteral("SELECT TOP %1 IdEmpresa, NombreEmpresa, CUIT FROM P_MA_Empresas").arg(porPagina);
  if (despuesDe) sql += QStringLiteral(" WHERE IdEmpresa > ") + Literal(*despuesDe);
  sql += QStringLiteral(" ORDER BY IdEmpresa");
  std::vector<Empresa> empresas;
  empresas.reserve(static_cast<std::size_t>(porPagina));
  LeerConsulta(sql, cnn, [&](ado::Recordset& rs) {
    empresas.push_back({Texto(rs, "IdEmpresa"), Texto(rs, "NombreEmpresa"), Texto(rs, "CUIT")});
  });
  return empresas;
}

QString Nombrada(const Empresa& e) { return e.codigo.trimmed() + QStringLiteral(" - ") + e.nombre.trimmed(); }

// Only the CUITs that more than one company holds, each with its companies:
// the server finds them, so memory follows the duplicates, not the table.
QHash<QString, QStringList> CuitsRepetidos(const ado::ConnectionPtr& cnn) {
  const QString digitos = QStringLiteral("REPLACE(REPLACE(REPLACE(CUIT, '-', ''), '.', ''), ' ', '')");
  const QString sql = QStringLiteral(
                          "SELECT IdEmpresa, NombreEmpresa, CUIT FROM P_MA_Empresas WHERE %1 IN "
                          "(SELECT %1 FROM P_MA_Empresas WHERE CUIT IS NOT NULL AND %1 <> '' "
                          "GROUP BY %1 HAVING COUNT(*) > 1) ORDER BY IdEmpresa")
                          .arg(digitos);
  QHash<QString, QStringList> repetidos;
  LeerConsulta(sql, cnn, [&](ado::Recordset& rs) {
    const Empresa e{Texto(rs, "IdEmpresa"), Texto(rs, "NombreEmpresa"), Texto(rs, "CUIT")};
    repetidos[Cuit::SoloDigitos(e.cuit)] << Nombrada(e);
  });
  return repetidos;
}

// The operator's question has no place in a report.
QString SinPregunta(QString mensaje) {
  const QString pregunta = QStringLiteral("¿Corregirlo?");
  if (mensaje.endsWith(pregunta)) mensaje.chop(pregunta.size());
  return mensaje.trimmed();
}

class Verificacion {
 public:
  Verificacion(Reparacion reparar, const InformeVerificacion& informe, ado::ConnectionPtr cnn)
      : reparar_(reparar), informe_(informe), cnn_(std::move(cnn)) {}

  ResumenVerificacion Ejecutar(int porPagina) {
    pide_ = PlantillasPorTabla(cnn_);
    repetidos_ = CuitsRepetidos(cnn_);
    resumen_.fechaPadron = ConsultaPadron::Fecha(cnn_);
    std::optional<QString> ultimo;
    for (;;) {
      const std::vector<Empresa> pagina = Pagina(ultimo, porPagina, cnn_);
      if (pagina.empty()) break;
      QStringList sembradas;
      for (const Empresa& e : pagina)
        if (!e.codigo.trimmed().isEmpty()) sembradas << e.codigo;
      const QHash<QString, std::array<int, 3>> filas = FilasPorEmpresa(sembradas, cnn_);
      enPadron_ = EnPadron(pagina);
      for (const Empresa& e : pagina) Revisar(e, filas.value(e.codigo));
      if (static_cast<int>(pagina.size()) < porPagina) break;
      ultimo = pagina.back().codigo;
    }
    return resumen_;
  }

 private:
  void Informar(Hallazgo tipo, const Empresa& e, const QString& detalle) {
    if (tipo != Hallazgo::Completada && tipo != Hallazgo::NoCompletada) ++resumen_.hallazgos;
    informe_({tipo, e.codigo.trimmed(), e.nombre.trimmed(), detalle});
  }

  void Revisar(const Empresa& e, const std::array<int, 3>& tiene) {
    ++resumen_.empresas;
    const QString codigo = e.codigo.trimmed();
    auto& util = Utilidades::Compartido();
    // The company with the empty code is the suite's own: no code to align, no rows to have.
    if (!codigo.isEmpty() && e.codigo != util.AlinearDerecha(codigo, kLargoCodigo))
      Informar(Hallazgo::CodigoNoAlineado, e,
               QStringLiteral("código '%1' no alineado a la derecha en %2 caracteres")
                   .arg(e.codigo)
                   .arg(kLargoCodigo));

    const Cuit::Analisis cuit = Cuit::Analizar(e.cuit);
    if (cuit.problema != Cuit::Problema::Ninguno && cuit.problema != Cuit::Problema::Vacio)
      Informar(Hallazgo::Cuit, e,
               QStringLiteral("CUIT %1: %2").arg(e.cuit.trimmed(), SinPregunta(Cuit::Mensaje(cuit))));
    if (cuit.problema != Cuit::Problema::Vacio) {
      const QStringList otras = OtrasConElCuit(e);
      if (!otras.isEmpty())
        Informar(Hallazgo::CuitRepetido, e,
                 QStringLiteral("CUIT %1 también asignado a %2 %3")
                     .arg(e.cuit.trimmed(),
                          otras.size() == 1 ? QStringLiteral("la empresa") : QStringLiteral("las empresas"),
                          otras.join(QStringLiteral(", "))));
    }
    if (resumen_.fechaPadron && cuit.problema == Cuit::Problema::Ninguno) RevisarPadron(e, cuit.digitos);

    if (codigo.isEmpty()) return;
    Completitud c;
    for (std::size_t i = 0; i < c.tablas.size(); ++i) c.tablas[i] = {tiene[i], pide_[i]};
    if (c.Completa()) return;
    Informar(Hallazgo::FilasFaltantes, e, QStringLiteral("filas por empresa incompletas: ") + c.Texto());
    if (reparar_ == Reparacion::Completar) Completar(e, c);
  }

  // The register's rows of the page's well-formed CUITs, in one statement.
  QHash<QString, QString> EnPadron(const std::vector<Empresa>& pagina) const {
    if (!resumen_.fechaPadron) return {};
    QStringList digitos;
    for (const Empresa& e : pagina) {
      const Cuit::Analisis a = Cuit::Analizar(e.cuit);
      if (a.problema == Cuit::Problema::Ninguno) digitos << a.digitos;
    }
    return ConsultaPadron::NombresEnPadron(digitos, cnn_);
  }

  void RevisarPadron(const Empresa& e, const QString& digitos) {
    const auto nombre = enPadron_.constFind(digitos);
    std::optional<InscripcionPadron> fila;
    if (nombre != enPadron_.cend()) fila = InscripcionPadron{digitos, *nombre};
    switch (CompararConPadron(fila, e.nombre)) {
      case EstadoPadron::NoFigura:
        return Informar(Hallazgo::CuitNoEnPadron, e,
                        QStringLiteral("CUIT %1 no figura en el padrón de AFIP %2")
                            .arg(e.cuit.trimmed(), ConsultaPadron::FechaTexto(*resumen_.fechaPadron)));
      case EstadoPadron::NombreDistinto:
        return Informar(
            Hallazgo::NombreDistintoEnPadron, e,
            QStringLiteral("CUIT %1 a nombre de %2 en el padrón de AFIP").arg(e.cuit.trimmed(), *nombre));
      case EstadoPadron::Coincide:
        return;
    }
  }

  QStringList OtrasConElCuit(const Empresa& e) const {
    QStringList otras = repetidos_.value(Cuit::SoloDigitos(e.cuit));
    otras.removeAll(Nombrada(e));
    return otras;
  }

  void Completar(const Empresa& e, const Completitud& antes) {
    const QString codigo15 = Utilidades::Compartido().AlinearDerecha(e.codigo.trimmed(), kLargoCodigo);
    std::vector<trampa::Paso> pasos;
    for (std::size_t i = 0; i < antes.tablas.size(); ++i)
      if (antes.tablas[i].Corta())
        pasos.push_back([this, &codigo15, t = kTablasPorEmpresa[i]] {
          SembrarTabla(t, codigo15, Siembra::Faltantes, cnn_);
        });
    QString fallo;
    const trampa::Resultado r =
        EjecutarEnUnaTransaccion(*cnn_, SentenciasDe(kTablasPorEmpresa[0], codigo15).tabla, pasos,
                                 [&](const ado::ErrorInfo& error, std::size_t) {
                                   fallo = error.Description.trimmed();
                                   return 0;  // the whole company's completion goes
                                 });
    if (r != trampa::Resultado::Completo) {
      Informar(Hallazgo::NoCompletada, e, QStringLiteral("no se pudo completar: ") + fallo);
      return;
    }
    const Completitud despues = CompletitudDe(codigo15, cnn_);
    QStringList agregadas;
    int total = 0;
    for (std::size_t i = 0; i < despues.tablas.size(); ++i) {
      const int n = despues.tablas[i].tiene - antes.tablas[i].tiene;
      if (n <= 0) continue;
      agregadas << QStringLiteral("%1 %2").arg(TituloDe(kTablasPorEmpresa[i])).arg(n);
      total += n;
    }
    ++resumen_.completadas;
    resumen_.filasAgregadas += total;
    Informar(Hallazgo::Completada, e,
             QStringLiteral("completada: se agregaron %1; queda %2")
                 .arg(agregadas.isEmpty() ? QStringLiteral("0 filas") : agregadas.join(QStringLiteral(" · ")),
                      despues.Texto()));
  }

  Reparacion reparar_;
  const InformeVerificacion& informe_;
  ado::ConnectionPtr cnn_;
  std::array<int, 3> pide_{};
  QHash<QString, QStringList> repetidos_;
  QHash<QString, QString> enPadron_;  // the registered names of the page's CUITs
  ResumenVerificacion resumen_;
};

}  // namespace

ResumenVerificacion VerificarEmpresas(Reparacion reparar, const InformeVerificacion& informe,
                                      ado::ConnectionPtr cnn, int porPagina) {
  if (!cnn) cnn = DB_Dll::Instancia().gCnn();
  Verificacion v(reparar, informe, cnn);
  return v.Ejecutar(porPagina < 1 ? 1 : porPagina);
}
