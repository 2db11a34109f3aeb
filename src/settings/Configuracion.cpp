#include "settings/Configuracion.h"

#include <QHash>
#include <QSet>
#include <cmath>

#include "db/DB_Dll.h"
#include "db/NumeroSql.h"
#include "db/TextoSql.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"
#include "settings/Globales.h"

QString gTablaConfiguracion;

namespace {

QHash<QString, QVariant>& Ajustes() {
  static QHash<QString, QVariant> ajustes;
  return ajustes;
}

void Guardar(const QString& clave, const QVariant& valor) { Ajustes().insert(clave.toUpper(), valor); }

bool EsSi(const QString& v) { return v.compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0; }

bool EsNo(const QString& v) { return v.trimmed().compare(QLatin1String("NO"), Qt::CaseInsensitive) == 0; }

// Rule not-NO: reads the key twice, as the suite's loader always has.
bool NoEsNo(const QString& clave) {
  Cfg(clave);
  const QString v = Cfg(clave);
  return !(v.trimmed().isEmpty() || EsNo(v));
}

// Settings are shared by every workstation: their numbers never follow the workstation's locale.
double Numero(const QString& clave) { return Utilidades::Compartido().ValorPuntoOComa(Cfg(clave).trimmed()); }

quint32 Color(const QString& clave) { return static_cast<quint32>(std::llround(Numero(clave))); }

qint16 Entero16(double v) {
  const double r = std::round(v);
  if (r < -32768 || r > 32767) throw ado::Failure(6, QStringLiteral("Desbordamiento"));
  return static_cast<qint16>(r);
}

// Configuration tables found missing in this session, by database.
QSet<QString>& Faltantes() {
  static QSet<QString> faltantes;
  return faltantes;
}

QString ClaveDeTabla(DB_Dll& db) {
  return db.gCnn()->ConnectionString() + QLatin1Char('|') + gTablaConfiguracion.trimmed().toLower();
}

// Whether the open that just failed found no configuration table.
bool FaltaLaTabla(DB_Dll& db) {
  const ado::ErrorCollection& errores = db.gCnn()->Errors();
  return errores.Count() > 0 &&
         (errores[0].Number == ado::err::TableMissing || errores[0].NativeError == ado::native::MissingTable);
}

// The settings table read in one statement for the load: the answer of Cfg
// for every key, keyed as the server matches them (letter case and trailing
// blanks ignored). Inactive outside the load, and when the one read failed:
// then every key is read on its own, and a failure shows its box as ever.
struct LecturaUnica {
  int alcances = 0;        // scopes open: the read is made by the first Cfg inside them
  bool intentada = false;  // one attempt per load
  bool activa = false;
  QString tabla;
  QHash<QString, std::pair<ado::Value, ado::Value>> filas;
};

LecturaUnica& Leidas() {
  static LecturaUnica l;
  return l;
}

QString ClaveLeida(const QString& clave) {
  qsizetype n = clave.size();
  while (n > 0 && clave[n - 1].isSpace()) --n;
  return clave.left(n).toUpper();
}

// Reads every row of the table, quietly: a failure leaves the cache off.
void LeerTodas(DB_Dll& db) {
  LecturaUnica& l = Leidas();
  l.intentada = true;
  l.activa = false;
  l.filas.clear();
  try {
    // The connection puts it in Oracle's terms when it talks to Oracle.
    QString sql =
        db.SS_TSinonimos(QStringLiteral("SELECT CLAVE, VALOR, valoraux FROM ") + gTablaConfiguracion);
    ado::Recordset rs;
    rs.Open(sql, db.gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly, ado::adOptionUnspecified);
    if (rs.State() == ado::adStateClosed) return;
    Utilidades& util = Utilidades::Compartido();
    if (!rs.Bof()) {
      for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const QString clave = ClaveLeida(util.NuloATexto(rs.Fields(0).GetValue()));
        // The first row wins, as a forward read of the key would find it.
        if (!l.filas.contains(clave))
          l.filas.insert(clave, {rs.Fields(1).GetValue(), rs.Fields(2).GetValue()});
      }
    }
    rs.Close();
    l.tabla = gTablaConfiguracion;
    l.activa = true;
  } catch (const ado::Failure&) {
    l.activa = false;
    l.filas.clear();
    db.gCnn()->Errors().Clear();
  }
}

// The read of the open load, made now if it was not tried yet.
const LecturaUnica& LecturaDeLaCarga(DB_Dll& db) {
  LecturaUnica& l = Leidas();
  if (l.alcances > 0 && !l.intentada && db.gCnn() && db.gCnn()->State() == ado::adStateOpen) LeerTodas(db);
  return l;
}

bool EsClaveDeFecha(const QString& clave) {
  return clave.compare(QLatin1String("[FECHA HASTA]"), Qt::CaseInsensitive) == 0 ||
         clave.compare(QLatin1String("[FECHA DESDE]"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QString Cfg(const QString& Clave, QString& ValorAux) {
  DB_Dll& db = DB_Dll::Instancia();
  Utilidades& util = Utilidades::Compartido();
  if (gTablaConfiguracion.trimmed().isEmpty()) gTablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
  // A table found missing was reported once: its keys read as missing from then on.
  if (Faltantes().contains(ClaveDeTabla(db))) {
    ValorAux.clear();
    return QStringLiteral(" ");
  }
  const LecturaUnica& leidas = LecturaDeLaCarga(db);
  if (leidas.activa && leidas.tabla.compare(gTablaConfiguracion, Qt::CaseInsensitive) == 0) {
    const auto it = leidas.filas.constFind(ClaveLeida(Clave.trimmed()));
    if (it == leidas.filas.constEnd()) {
      ValorAux.clear();
      return QStringLiteral(" ");
    }
    ValorAux = util.NuloATexto(it->second);
    return util.NuloATexto(it->first);
  }
  QString resultado;
  QString sql;
  ado::Recordset rs;
  const trampa::Resultado fin = trampa::Ejecutar(
      {
          [&] {
            const QString clave = Clave.trimmed();
            sql = QStringLiteral("SELECT VALOR, valoraux FROM ") + gTablaConfiguracion +
                  QStringLiteral(" WHERE CLAVE = '") + DuplicarApostrofes(clave) + QLatin1Char('\'');
            if (EsClaveDeFecha(clave)) sql = sql.toUpper();
          },
          [&] {
            db.AbrirRecordset(sql, rs, db.gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly,
                              ado::adOptionUnspecified, true);
          },
          [&] {
            if (rs.State() == ado::adStateClosed) {
              // The open's own box told why; a missing table is the key missing.
              if (FaltaLaTabla(db)) {
                Faltantes().insert(ClaveDeTabla(db));
                resultado = QStringLiteral(" ");
                ValorAux.clear();
              }
              return;
            }
            if (rs.Bof()) {
              resultado = QStringLiteral(" ");
              ValorAux.clear();
            } else {
              resultado = util.NuloATexto(rs.Fields(QStringLiteral("Valor")).GetValue());
              ValorAux = util.NuloATexto(rs.Fields(QStringLiteral("ValorAux")).GetValue());
            }
          },
          [&] { db.CierraRecordset(rs); },
      },
      [&](const ado::ErrorInfo& e, std::size_t) {
        // Only "next statement" goes on; a retry is not offered here.
        return db.TratamientoErrores(e, {}, QStringLiteral("Cfg")) == trampa::Siguiente ? trampa::Siguiente
                                                                                        : 0;
      });
  return fin == trampa::Resultado::Abandonado ? QString() : resultado;
}

QString Cfg(const QString& Clave) {
  QString aux;
  return Cfg(Clave, aux);
}

bool GrabaDfg(const QString& Clave, const QVariant& Valor, const QString& ValorAux, bool PoliticaNegocio,
              const QString& Grupo) {
  DB_Dll& db = DB_Dll::Instancia();
  QString sql = QStringLiteral("SELECT * FROM ") + gTablaConfiguracion + QStringLiteral(" WHERE CLAVE = '") +
                DuplicarApostrofes(Clave) + QLatin1Char('\'');
  ado::Recordset rs;
  auto campo = [&](const char* nombre) -> ado::Field& { return rs.Fields(QString::fromLatin1(nombre)); };
  const auto manejador = [&](const ado::ErrorInfo& e, std::size_t) {
    return db.TratamientoErrores(e, {}, QStringLiteral("GrabaDfg"));
  };
  trampa::Ejecutar({[&] {
                     db.AbrirRecordset(sql, rs, db.gCnn(), ado::adOpenDynamic, ado::adLockOptimistic,
                                       ado::adOptionUnspecified, true);
                   }},
                   manejador);
  // Not opened (and reported there): there is no row to write to.
  if (rs.State() == ado::adStateClosed) return false;
  const auto r = trampa::Ejecutar(
      {
          [&] {
            if (rs.Bof())
              rs.AddNew();
            else
              rs.MoveFirst();
          },
          [&] { campo("Grupo").SetValue(Grupo); },
          [&] { campo("Clave").SetValue(Clave.trimmed().toUpper()); },
          [&] {
            campo("Valor").SetValue(ado::IsNull(Valor) ? ado::Null() : QVariant(Valor.toString().trimmed()));
          },
          [&] { campo("PoliticaNegocio").SetValue(PoliticaNegocio); },
          [&] {
            if (!ValorAux.isEmpty()) campo("ValorAux").SetValue(ValorAux.trimmed());
          },
          [&] { rs.Update(); },
          [&] {
            // What the row now holds is what the rest of the load reads.
            LecturaUnica& l = Leidas();
            if (l.activa) {
              const QString clave = ClaveLeida(Clave.trimmed());
              const ado::Value valor =
                  ado::IsNull(Valor) ? ado::Null() : ado::Value(Valor.toString().trimmed());
              const ado::Value aux =
                  ValorAux.isEmpty() ? l.filas.value(clave).second : ado::Value(ValorAux.trimmed());
              l.filas.insert(clave, {valor, aux});
            }
          },
          [&] { db.CierraRecordset(rs); },
      },
      manejador);
  return r == trampa::Resultado::Completo;
}

void CargarConfiguracion(const QString& AppPath, const trampa::Manejador& alFallar) {
  Utilidades& util = Utilidades::Compartido();
  DB_Dll& db = DB_Dll::Instancia();
  gTablaConfiguracion = QStringLiteral("ta_configuracion");
  const AjustesDeUnaLectura unaLectura;
  auto si = [](const char* clave) -> trampa::Paso {
    return [clave] { Guardar(QString::fromLatin1(clave), EsSi(Cfg(QString::fromLatin1(clave)))); };
  };
  auto recortado = [](const char* clave) -> trampa::Paso {
    return [clave] { Guardar(QString::fromLatin1(clave), Cfg(QString::fromLatin1(clave)).trimmed()); };
  };
  auto noEsNo = [](const char* clave) -> trampa::Paso {
    return [clave] { Guardar(QString::fromLatin1(clave), NoEsNo(QString::fromLatin1(clave))); };
  };

  std::vector<trampa::Paso> pasos = {
      [&] {
        Guardar(QStringLiteral("MostrarStockenConsultas"),
                EsSi(util.NuloATexto(Cfg(QStringLiteral("MostrarStockenConsultas")))));
      },
      recortado("TituloClientes"),
      recortado("TituloProveedores"),
      [&] { Guardar(QStringLiteral("ArchivoTareas"), AppPath + QStringLiteral("VMDOCTareas.vmt")); },
      si("EXIGECLAVECONSULTALIKEARTICULOS"),
      si("UsaConsultaLike"),
      [&] { Guardar(QStringLiteral("CantidadDecimales"), Cfg(QStringLiteral("CantidadDecimales"))); },
      si("UsaMultilesMonedas"),
      si("UsaFacturaProforma"),
      si("USACCOSTO"),
      si("USA_STK_STOCK_UDKG"),
      [&] {
        QString unidad =
            util.AlinearDerecha(util.NuloATexto(db.DatosTabla(QStringLiteral("ta_usuarios"), gUsuarioLogeado,
                                                              QStringLiteral("UNegocio"),
                                                              QStringLiteral("nombre"), 8, QString(), true)),
                                4);
        if (unidad.isEmpty()) unidad = QStringLiteral("   1");
        Guardar(QStringLiteral("UnidadNegocio"), unidad);
      },
      recortado("UNIDADDEMEDIDA_M3"),
      recortado("UNIDADDEMEDIDA_BL"),
      recortado("UNIDADDEMEDIDA_KG"),
      [&] {
        Guardar(QStringLiteral("PERIODO"),
                QVariant::fromValue(Entero16(NumeroInicial(Cfg(QStringLiteral("PERIODO"))))));
      },
      [&] {
        Cfg(QStringLiteral("VALIDACODIGOBARRA"));
        const QString v = Cfg(QStringLiteral("VALIDACODIGOBARRA"));
        Guardar(QStringLiteral("VALIDACODIGOBARRA"), !v.trimmed().isEmpty() && EsSi(v));
      },
      [&] { Guardar(QStringLiteral("Verdadero"), true); },
      [&] {
        gColorFondo = Color(QStringLiteral("CFondo"));
        if (gColorFondo == 0) gColorFondo = 0xFFFF00;
        Guardar(QStringLiteral("CFondo"), gColorFondo);
      },
      [&] {
        gColorLetra = Color(QStringLiteral("CLetra"));
        Guardar(QStringLiteral("CLetra"), gColorLetra);
      },
      [&] {
        Guardar(QStringLiteral("ModuloOrdenDeTrabajo"), !EsNo(Cfg(QStringLiteral("ModuloOrdenDeTrabajo"))));
      },
      noEsNo("V_ModificaCPrecio"),
      noEsNo("C_ModificaCPrecio"),
      noEsNo("MADERERA"),
  };
  for (const char* clave : {"MAD_TIRAS", "MAD_P2", "MAD_ML", "MAD_M2", "MAD_HOJAS", "MAD_ML_P2", "MAD_M2_P2",
                            "MAD_ML_M2", "CuentaCtroDist"})
    pasos.push_back(recortado(clave));
  pasos.push_back([&] { Guardar(QStringLiteral("MaxDto"), Numero(QStringLiteral("MaxDto"))); });
  pasos.push_back(noEsNo("PideClave_StockNeg"));
  pasos.push_back(noEsNo("PideClave_MarkUpBase"));
  pasos.push_back(noEsNo("PideClave_LimiteCredito"));
  pasos.push_back(si("SS_BloqueoActivo"));
  pasos.push_back([&] {
    QString top = Cfg(QStringLiteral("Top_Default"));
    if (top.trimmed().isEmpty()) top = QStringLiteral("1000");
    Guardar(QStringLiteral("Top_Default"), top);
  });

  if (alFallar) {
    trampa::Ejecutar(pasos, alFallar);
    return;
  }
  for (const trampa::Paso& paso : pasos) paso();
}

AjustesDeUnaLectura::AjustesDeUnaLectura() { ++Leidas().alcances; }

AjustesDeUnaLectura::~AjustesDeUnaLectura() {
  if (--Leidas().alcances == 0) Leidas() = {};
}

QVariant ValorConfiguracion(const QString& clave) { return Ajustes().value(clave.toUpper()); }
