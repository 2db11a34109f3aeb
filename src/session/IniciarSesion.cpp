#include "session/IniciarSesion.h"

#include <QCoreApplication>
#include <cstdlib>

#include "db/DB_Dll.h"
#include "lookup/Lib_ClsCons3.h"
#include "platform/client/ConnectionString.h"
#include "platform/services/ArchivoIni.h"
#include "platform/services/Carpetas.h"
#include "platform/services/Entorno.h"
#include "platform/services/Inicializador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"
#include "session/CrearMascarasConsultas.h"
#include "session/ParametrosInicio.h"
#include "settings/Configuracion.h"
#include "settings/Globales.h"

namespace {

const QString kIni = QStringLiteral("CN000pr.INI");

std::function<void()>& Fin() {
  static std::function<void()> fin;
  return fin;
}

std::optional<QString>& Linea() {
  static std::optional<QString> linea;
  return linea;
}

void TerminarPrograma() {
  if (Fin()) {
    Fin()();
    return;
  }
  std::exit(EXIT_FAILURE);
}

}  // namespace

void EstablecerFinDelPrograma(std::function<void()> fin) { Fin() = std::move(fin); }

void EstablecerLineaDeComandos(const QString& texto) { Linea() = texto; }

QString LineaDeComandos() {
  if (Linea()) return *Linea();
  if (!QCoreApplication::instance()) return QString();
  QStringList args = QCoreApplication::arguments();
  if (!args.isEmpty()) args.removeFirst();
  return args.join(QLatin1Char(' '));
}

QString ExtraerServidor(const QString& Servidor) {
  QString s = Servidor;
  const int barra = s.indexOf(QLatin1Char('/'));
  if (barra >= 0) s = s.mid(barra + 1);
  const int dosPuntos = s.indexOf(QLatin1Char(':'));
  if (dosPuntos >= 0) s = s.left(dosPuntos);
  return s;
}

void IniciarSesion(bool& UsarIni, QString& Parametros, QString& ConnString) {
  Utilidades& util = Utilidades::Compartido();
  Entorno& entorno = Entorno::Compartido();
  DB_Dll& db = DB_Dll::Instancia();

  QString appPath;
  QString p;
  ParametrosInicio valores;
  bool yaConectada = false;
  // After the program was told to end (a replaced ending returns), nothing more runs.
  bool terminado = false;

  auto paso = [&terminado](std::function<void()> f) -> trampa::Paso {
    return [&terminado, f] {
      if (!terminado) f();
    };
  };
  // Steps that only run while the connection is still to be opened.
  auto alConectar = [&terminado, &yaConectada](std::function<void()> f) -> trampa::Paso {
    return [&terminado, &yaConectada, f] {
      if (!terminado && !yaConectada) f();
    };
  };

  // Before the connection is open a failure ends the routine (and reaches the
  // caller's trap); after it, the session can go on: the operator answers as
  // in the load's own trap, and any answer but 4 and 5 ends the program.
  std::optional<ado::ErrorInfo> fallo;
  const trampa::Manejador manejador = [&](const ado::ErrorInfo& error, std::size_t) {
    if (error.Number == ado::err::InvalidCall) return trampa::Siguiente;
    if (!db.gOpenFlag || db.gCnn()->State() != ado::adStateOpen) {
      fallo = error;
      return 0;
    }
    const int respuesta = util.MostrarError(error, {}, QStringLiteral("Load"));
    if (respuesta == trampa::Reintentar || respuesta == trampa::Siguiente) return respuesta;
    terminado = true;
    TerminarPrograma();
    return 0;
  };

  const std::vector<trampa::Paso> pasos = {
      paso([&] { appPath = util.RutaConBarra(CarpetaDelPrograma()); }),
      paso([&] {
        gColorLetra = 0;
        gColorFondo = 0xFFFFFF;
      }),
      paso([&] { p = Parametros.isEmpty() ? LineaDeComandos() : Parametros; }),
      paso([&] {
        if (!UsarIni || !p.trimmed().isEmpty()) return;
        const QString seccion = entorno.PrimerIdentificador().toUpper() + QLatin1Char('|') +
                                entorno.SegundoIdentificador().toUpper() + QStringLiteral("BaseDeDatos");
        const ArchivoIni& ini = ArchivoIni::Compartido();
        const QString bar = QStringLiteral("|");
        const QString servidor =
            util.QuitarCaracteres(ini.LeerIni(kIni, seccion, QStringLiteral("Servidor")), bar);
        const QString base = util.QuitarCaracteres(ini.LeerIni(kIni, seccion, QStringLiteral("DbName")), bar);
        const QString usuario =
            util.QuitarCaracteres(util.Desencriptar(ini.LeerIni(kIni, seccion, QStringLiteral("Usuario"),
                                                                util.Encriptar(QStringLiteral("Velmora")))),
                                  bar);
        const QString password =
            util.QuitarCaracteres(util.Desencriptar(ini.LeerIni(kIni, seccion, QStringLiteral("UserPassWord"),
                                                                util.Encriptar(QStringLiteral("quillon")))),
                                  bar);
        p = ParametrosDesdeIni(servidor, base, usuario, password);
      }),
      paso([&] {
        gSeccionEstacion = entorno.PrimerIdentificador().toUpper() + QLatin1Char('|') +
                           entorno.SegundoIdentificador().toUpper();
        if (gSeccionEstacion.trimmed().size() > 50) gSeccionEstacion = gSeccionEstacion.left(50);
      }),
      paso([&] {
        gFlatToolbars = util.ValorPuntoOComa(ArchivoIni::Compartido().LeerIni(
            kIni, gSeccionEstacion, QStringLiteral("FlatToolbars"), QStringLiteral("1")));
      }),
      paso([&] { yaConectada = db.gOpenFlag; }),
      alConectar([&] {
        valores = InterpretarParametros(p);
        gParametroAdicional = valores.ParametroAdicional;
        gMenu = valores.Menu;
        gUsuarioLogeado = valores.UsuarioLogeado;
        gCaja = valores.Caja;
      }),
      alConectar([&] {
        QString& servidor = valores.Servidor;
        if (servidor.trimmed().isEmpty() || !servidor.startsWith(QLatin1Char('#'))) return;
        servidor = servidor.mid(1);
        if (ConnString.isEmpty())
          ConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") +
                       ado::cs::QuoteValue(valores.BaseDeDatos) + QStringLiteral(";User Id=") +
                       ado::cs::QuoteValue(valores.Usuario) + QStringLiteral(";Password=") +
                       ado::cs::QuoteValue(valores.Password) + QStringLiteral(";");
      }),
      alConectar([&] {
        db.gUsuario = valores.Usuario;
        db.gDBName = valores.BaseDeDatos;
        db.gUserPassWord = valores.Password;
        db.gServidor = ExtraerServidor(valores.Servidor);
      }),
      alConectar([&] {
        db.OpenServerADODB(valores.Servidor.trimmed().isEmpty(), ado::adUseClient, ConnString, true);
      }),
      alConectar([&] {
        // Also when the flag says open but nothing is: going on without a
        // connection would only fail later, further from the cause.
        if (!db.gOpenFlag || db.gCnn()->State() != ado::adStateOpen) {
          terminado = true;
          TerminarPrograma();
          return;
        }
        gUsuarioLogeado = db.gUsuario;
      }),
      alConectar([&] { db.gCnn()->SetCommandTimeout(360); }),
      alConectar([&] { db.gCnn()->SetIsolationLevel(ado::adXactReadUncommitted); }),
      paso([&] {
        gConnStringDSN = QStringLiteral("DSN=") + db.gDBName + QStringLiteral("; UID=") + db.gUsuario +
                         QStringLiteral("; PWD=") + db.gUserPassWord;
      }),
      paso([&] { Inicializador::Compartido().Inicializar(appPath); }),
      paso([&] {
        Lib_ClsCons3& consultas = Lib_ClsCons3::Instancia();
        consultas.gConnString = db.gConnString;
        consultas.gUsarMascarasConsultas = true;
        consultas.gRutaMascaraConsultas = RutaParaActualizar(
            UbicarArchivoPropio(QStringLiteral("consultas.vmt"), appPath, CarpetaDeDatos()));
      }),
      paso([&] { PrepararMascarasConsultas(); }),
      paso([&] {
        if (!db.gDBName.isEmpty()) CargarConfiguracion(appPath, manejador);
      }),
      paso([&] { db.gCnn()->SetDefaultDatabase(db.gDBName); }),
  };

  // Every setting the start-up reads comes from one read of the table.
  const AjustesDeUnaLectura unaLecturaDeAjustes;
  const DB_Dll::UnaLecturaPorSentencia unaLecturaDelUsuario;
  trampa::Ejecutar(pasos, manejador);
  // The values set so far stay, and the caller's trap reports it.
  if (fallo) throw ado::Failure(*fallo);
}
