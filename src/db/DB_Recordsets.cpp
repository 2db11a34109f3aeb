#include <functional>
#include <memory>

#include "db/DB_Dll.h"
#include "db/LogDeErrores.h"
#include "db/NumeroSql.h"
#include "db/Sentencias.h"
#include "db/TextoSql.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

namespace {

// The lookups' own trap: the failure's description in an Abort / Retry / Ignore box.
trampa::Manejador AvisoAlOperador(const char* rutina) {
  return [rutina](const ado::ErrorInfo& e, std::size_t) {
    return logerrores::Avisar(QString::fromLatin1(rutina), e.Description, vb::Critical + vb::AbortRetryIgnore,
                              QStringLiteral("Aviso al Operador"));
  };
}

// Failures EjecutaConsultaSQL keeps quiet about: the caller reads them in the connection's errors.
bool EsErrorSilencioso(long numero) {
  const quint32 n = static_cast<quint32>(numero);
  return n == 0x80004005u || n == 0x80040E2Fu || n == 0x80040E37u || n == 0x80040E14u;
}

}  // namespace

void DB_Dll::AbrirRecordset(QString& SentenciaSQL, ado::Recordset& Lrcs, ado::ConnectionPtr ConexionActiva,
                            long CursorType, long LockType, long Options, bool /*ConvOracle*/) {
  ado::ConnectionPtr conexion;
  trampa::Ejecutar({
                       [&] { CierraRecordset(Lrcs); },
                       [&] { SentenciaSQL = SS_TSinonimos(SentenciaSQL); },
                       [&] { conexion = ConexionActiva ? ConexionActiva : gCnn(); },
                       [&] {
                         // The connection translates for Oracle on the way (ConvOracle or not:
                         // an untranslated statement cannot run there); the caller keeps the mapped one.
                         Lrcs.Open(SentenciaSQL, conexion, CursorType, LockType, Options);
                       },
                   },
                   [this](const ado::ErrorInfo& e, std::size_t) {
                     return TratamientoErrores(e, {}, QStringLiteral("AbrirRecordset"));
                   });
}

void DB_Dll::CierraRecordset(ado::Recordset& LRCSTEMP) {
  trampa::Ejecutar({[&] {
                     if (LRCSTEMP.State() != ado::adStateClosed) LRCSTEMP.Close();
                   }},
                   [this](const ado::ErrorInfo& e, std::size_t) {
                     return TratamientoErrores(e, {}, QStringLiteral("CierraRecordset"));
                   });
}

void DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL, long& RecordsAffected) {
  trampa::Ejecutar(
      {
          [&] {
            SentenciaSQL =
                SentenciaParaEjecutar(SentenciaSQL, [this](const QString& s) { return SS_TSinonimos(s); });
          },
          [&] {
            if (gCnn()->ConnectionString().contains(QLatin1String("ORACLE"), Qt::CaseInsensitive)) {
              EjecutaScriptOracle(SentenciaSQL, RecordsAffected);
            } else {
              long n = 0;
              gCnn()->Execute(SentenciaSQL, &n, ado::adOptionUnspecified);
              RecordsAffected = n;
            }
          },
          [&] {
            // A truncation warning left over by a statement that did run.
            ado::ErrorCollection& errores = gCnn()->Errors();
            const int n = errores.Count();
            if (n > 0 && n <= 2 && errores[0].NativeError == ado::native::Truncation) errores.Clear();
          },
      },
      [&](const ado::ErrorInfo& e, std::size_t) {
        // A transaction statement fails quietly; a literal that happens to say "trans" does not.
        if (!EsErrorSilencioso(e.Number) && BuscarFueraDeLiterales(SentenciaSQL, QStringLiteral("TRANS")) < 0)
          logerrores::Avisar(QStringLiteral("EjecutaConsultaSQL"), e.Description, vb::Critical + vb::OKOnly,
                             QStringLiteral("Aviso al operador!!!"));
        return 0;
      });
}

DB_Dll::Existencia DB_Dll::Comprobar(const std::function<QString()>& sentencia, ado::Recordset* Lrcs,
                                     bool soloLectura, const char* rutina) {
  // Failed until a statement has really answered: a check that could not
  // look is not a row that is missing.
  Existencia resultado = Existencia::Fallo;
  QString sql;
  std::unique_ptr<ado::Recordset> propio;
  ado::Recordset* rs = Lrcs;
  std::vector<trampa::Paso> pasos{[&] { sql = sentencia(); }};
  if (Lrcs) {
    pasos.push_back([&] {
      if (Lrcs->State() != ado::adStateClosed) Lrcs->Close();
    });
  } else {
    pasos.push_back([&] {
      propio = std::make_unique<ado::Recordset>();
      rs = propio.get();
    });
  }
  pasos.push_back([&] {
    const bool tipos = Lrcs && !soloLectura;
    rs->Open(sql, gCnn(), tipos ? rs->CursorType() : ado::adOpenForwardOnly,
             tipos ? rs->LockType() : ado::adLockReadOnly, ado::adOptionUnspecified);
  });
  pasos.push_back([&] {
    if (rs && rs->State() != ado::adStateClosed)
      resultado = rs->Bof() ? Existencia::NoExiste : Existencia::Existe;
  });
  if (!Lrcs)
    pasos.push_back([&] {
      if (propio && propio->State() != ado::adStateClosed) propio->Close();
      propio.reset();
    });
  trampa::Ejecutar(pasos, AvisoAlOperador(rutina));
  return resultado;
}

DB_Dll::Existencia DB_Dll::ComprobarEnTabla(const QString& Tabla, const QString& ValorBuscado,
                                            const QString& Campo, ado::Recordset* Lrcs,
                                            const ado::Value& TipoDato, const QString& Condicion) {
  return Comprobar(
      [&] { return SS_TSinonimos(SentenciaExisteEnTabla(Tabla, ValorBuscado, Campo, TipoDato, Condicion)); },
      Lrcs, false, "ExisteEnTabla");
}

bool DB_Dll::ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                           ado::Recordset* Lrcs, const ado::Value& TipoDato, const QString& Condicion) {
  return ComprobarEnTabla(Tabla, ValorBuscado, Campo, Lrcs, TipoDato, Condicion) == Existencia::Existe;
}

bool DB_Dll::ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                             ado::Recordset* Lrcs, const ado::Value& TipoDato, const QString& Condicion,
                             bool SoloLectura) {
  return Comprobar([&] { return SentenciaExisteEnTablaST(Tabla, ValorBuscado, Campo, TipoDato, Condicion); },
                   Lrcs, Lrcs && SoloLectura, "ExisteEnTablaST") == Existencia::Existe;
}

DB_Dll::UnaLecturaPorSentencia::UnaLecturaPorSentencia() { ++Instancia().lecturasUnicas_; }

DB_Dll::UnaLecturaPorSentencia::~UnaLecturaPorSentencia() {
  auto& db = Instancia();
  if (--db.lecturasUnicas_ == 0) db.filasLeidas_.clear();
}

ado::Value DB_Dll::DatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& CampoDevuelto,
                              const QString& Campo, const ado::Value& TipoDato, const QString& Condicion,
                              bool UsaTrim) {
  QString resultado;
  QString sql;
  std::unique_ptr<ado::Recordset> rs;
  bool leida = false;
  trampa::Ejecutar(
      {
          [&] { sql = SentenciaDatosTabla(Tabla, ValorBuscado, Campo, TipoDato, Condicion, UsaTrim); },
          [&] {
            if (lecturasUnicas_ == 0) return;
            const auto fila = filasLeidas_.constFind(sql);
            if (fila == filasLeidas_.constEnd()) return;
            leida = true;
            const auto valor = fila->constFind(CampoDevuelto.toLower());
            if (!fila->isEmpty() && valor == fila->constEnd()) {
              leida = false;  // a column it lacks: the read reports it as before
              return;
            }
            resultado = fila->isEmpty() ? QString() : Servicios().NuloATexto(*valor);
          },
          [&] {
            if (leida) return;
            rs = std::make_unique<ado::Recordset>();
            AbrirRecordset(sql, *rs, gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly,
                           ado::adOptionUnspecified, true);
          },
          [&] {
            // An open that failed was already reported there: nothing to read.
            if (leida || !rs || rs->State() == ado::adStateClosed) return;
            if (lecturasUnicas_ > 0) {
              QHash<QString, ado::Value> fila;
              if (!rs->Bof())
                for (int i = 0; i < rs->FieldCount(); ++i)
                  fila.insert(rs->Fields(i).Name().toLower(), rs->Fields(i).GetValue());
              filasLeidas_.insert(sql, fila);
            }
            resultado = rs->Bof() ? QString() : Servicios().NuloATexto(rs->Fields(CampoDevuelto).GetValue());
          },
          [&] {
            if (rs) CierraRecordset(*rs);
          },
      },
      AvisoAlOperador("DatosTabla"));
  return resultado;
}

namespace {

// An aggregate read back as a number; a Null aggregate (no rows) gives 0.
double NumeroDeAgregado(const ado::Value& v, Utilidades& servicios) {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return 0;
  return ado::IsNumber(v) ? v.toDouble() : NumeroInicial(servicios.NuloATexto(v));
}

ado::Value LeerAgregado(const QString& sql, const QString& columna, const ado::ConnectionPtr& cnn,
                        Utilidades& servicios) {
  auto rs = std::make_unique<ado::Recordset>();
  rs->Open(sql, cnn, ado::adOpenForwardOnly, ado::adLockReadOnly, ado::adOptionUnspecified);
  ado::Value resultado;
  if (!rs->Bof()) {
    rs->MoveFirst();
    resultado = NumeroDeAgregado(rs->Fields(columna).GetValue(), servicios);
  }
  rs->Close();
  return resultado;
}

}  // namespace

ado::Value DB_Dll::BuscaMaximo(const QString& QueTabla, const QString& QueCampo, const ado::Value&,
                               const std::optional<QString>& Condicion) {
  return LeerAgregado(SentenciaBuscaExtremo(Extremo::Maximo, QueTabla, QueCampo, Condicion),
                      QStringLiteral("MAYOR"), gCnn(), Servicios());
}

ado::Value DB_Dll::BuscaMinimo(const QString& QueTabla, const QString& QueCampo, const ado::Value&,
                               const std::optional<QString>& Condicion) {
  return LeerAgregado(SentenciaBuscaExtremo(Extremo::Minimo, QueTabla, QueCampo, Condicion),
                      QStringLiteral("MENOR"), gCnn(), Servicios());
}

ado::Value DB_Dll::BuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo, const ado::Value&,
                                     const QString& Condicion) {
  return LeerAgregado(SentenciaBuscaUltimoCodigo(QueTabla, QueCampo, Condicion), QStringLiteral("MAYOR"),
                      gCnn(), Servicios());
}
