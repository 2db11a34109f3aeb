#include "app/LineaDeComandos.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "app/OrdenPadron.h"
#include "db/DB_Dll.h"
#include "platform/services/OperadorDeConsola.h"
#include "session/IniciarSesion.h"

#ifndef MA_VERSION
#define MA_VERSION "1.0.0"
#endif

namespace {

const QString kPrograma = QStringLiteral("MA_Empresas");

constexpr int kSinHallazgos = 0;
constexpr int kConHallazgos = 1;
constexpr int kNoSePudo = 2;

void Escribir(std::FILE* f, const QString& texto) {
  const QByteArray b = (texto + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), f);
  std::fflush(f);
}

QString Ayuda() {
  return QStringLiteral(
      "Uso: MA_Empresas [\"<texto de parámetros>\"]\n"
      "     MA_Empresas --verificar \"<texto de parámetros>\" [--formato=csv] [--reparar]\n"
      "     MA_Empresas --padron <archivo.zip|archivo.tmp> \"<texto de parámetros>\"\n"
      "     MA_Empresas --help | --version\n"
      "\n"
      "Sin opciones abre el formulario de empresas en la base que indica el texto de\n"
      "parámetros, por ejemplo \"@Server=SQLITE;@DbName=/ruta/demo.sqlite;@Usuario=admin;@Password=;\".\n"
      "\n"
      "  --verificar TEXTO  revisa todas las empresas sin abrir ninguna ventana: CUIT\n"
      "                     (formato y dígito verificador), CUIT repetidos, filas por\n"
      "                     empresa que faltan según las plantillas y códigos no\n"
      "                     alineados a la derecha en 15 caracteres; una línea por\n"
      "                     hallazgo y un resumen al final\n"
      "  --formato=csv      el informe en CSV: empresa,nombre,hallazgo,detalle\n"
      "                     (--formato=texto, el de omisión, en texto); una celda\n"
      "                     que empieza con =, +, -, @, tabulador o retorno de carro\n"
      "                     lleva delante un apóstrofo (') para que ninguna planilla\n"
      "                     la tome por una fórmula\n"
      "  --reparar          además completa las filas por empresa que faltan, una\n"
      "                     transacción por empresa, y dice qué agregó\n"
      "  --padron ARCHIVO TEXTO  carga el padrón de AFIP (apellido y nombre o\n"
      "                     denominación, el zip o su .tmp) en MA_PADRON_AFIP; reemplaza\n"
      "                     al anterior sólo si termina bien\n"
      "  -h, --help         muestra esta ayuda y termina\n"
      "  --version          muestra la versión y termina\n"
      "\n"
      "Estado de salida: 0 sin hallazgos, 1 con hallazgos, 2 cuando no pudo conectarse\n"
      "o leer, o las opciones están mal usadas.");
}

OrdenesDeLinea MalUso(const QString& error) {
  OrdenesDeLinea o;
  o.orden = Orden::MalUso;
  o.error = error;
  return o;
}

}  // namespace

OrdenesDeLinea LeerOrdenes(const QStringList& argumentos) {
  bool conOpciones = false;
  for (const QString& a : argumentos) conOpciones = conOpciones || a.startsWith(QLatin1Char('-'));
  OrdenesDeLinea o;
  if (!conOpciones) return o;  // the parameter text of the window

  bool ayuda = false, version = false, verificar = false, formato = false, padron = false;
  for (int i = 0; i < argumentos.size(); ++i) {
    const QString& a = argumentos[i];
    const int igual = a.indexOf(QLatin1Char('='));
    const QString nombre = a.startsWith(QStringLiteral("--")) && igual > 0 ? a.left(igual) : a;
    // The value after "=", or else the next argument.
    auto valor = [&]() -> std::optional<QString> {
      if (nombre != a) return a.mid(igual + 1);
      if (i + 1 < argumentos.size()) return argumentos[++i];
      return std::nullopt;
    };
    if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      ayuda = true;
    } else if (a == QLatin1String("--version")) {
      version = true;
    } else if (nombre == QLatin1String("--verificar")) {
      const std::optional<QString> v = valor();
      if (!v) return MalUso(QStringLiteral("--verificar necesita el texto de parámetros"));
      verificar = true;
      o.parametros = *v;
    } else if (nombre == QLatin1String("--padron")) {
      const std::optional<QString> v = valor();
      if (!v || i + 1 >= argumentos.size())
        return MalUso(QStringLiteral("--padron necesita el archivo del padrón y el texto de parámetros"));
      padron = true;
      o.archivo = *v;
      o.parametros = argumentos[++i];
    } else if (nombre == QLatin1String("--formato")) {
      const std::optional<QString> v = valor();
      if (v && v->compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        o.formato = FormatoInforme::Csv;
      else if (v && v->compare(QLatin1String("texto"), Qt::CaseInsensitive) == 0)
        o.formato = FormatoInforme::Texto;
      else
        return MalUso(QStringLiteral("formato desconocido: %1 (csv o texto)").arg(v.value_or(QString())));
      formato = true;
    } else if (a == QLatin1String("--reparar")) {
      o.reparar = Reparacion::Completar;
    } else if (a.startsWith(QLatin1Char('-'))) {
      return MalUso(QStringLiteral("opción desconocida: %1").arg(a));
    } else {
      return MalUso(QStringLiteral("argumento de más: %1").arg(a));
    }
  }
  if (verificar && padron) return MalUso(QStringLiteral("--padron y --verificar van por separado"));
  if (ayuda) {
    o.orden = Orden::Ayuda;
  } else if (version) {
    o.orden = Orden::Version;
  } else if (verificar) {
    o.orden = Orden::Verificar;
  } else if (formato || o.reparar == Reparacion::Completar) {
    return MalUso(QStringLiteral("--formato y --reparar acompañan a --verificar"));
  } else if (padron) {
    o.orden = Orden::Padron;
  }
  return o;
}

int EjecutarOrdenes(const OrdenesDeLinea& o) {
  switch (o.orden) {
    case Orden::Ventana:
      return kNoSePudo;  // the window is main's
    case Orden::Ayuda:
      Escribir(stdout, Ayuda());
      return kSinHallazgos;
    case Orden::Version:
      Escribir(stdout, kPrograma + QLatin1Char(' ') + QStringLiteral(MA_VERSION));
      return kSinHallazgos;
    case Orden::MalUso:
      Escribir(stderr, kPrograma + QStringLiteral(": ") + o.error + QLatin1Char('\n') +
                           QStringLiteral("Pruebe 'MA_Empresas --help' para más información."));
      return kNoSePudo;
    case Orden::Padron:
      return EjecutarPadron(o.archivo, o.parametros);
    case Orden::Verificar:
      break;
  }

  EstablecerOperador(std::make_shared<OperadorDeConsola>());
  // The check's own parameter text, never the rest of the command line.
  EstablecerLineaDeComandos(o.parametros);
  bool terminada = false;
  EstablecerFinDelPrograma([&terminada] { terminada = true; });
  auto& db = DB_Dll::Instancia();
  try {
    bool usarIni = false;
    QString parametros = o.parametros, conexion;
    IniciarSesion(usarIni, parametros, conexion);
  } catch (const std::exception& e) {
    terminada = true;
    Escribir(stderr, kPrograma + QStringLiteral(": ") + QString::fromLocal8Bit(e.what()));
  }
  EstablecerFinDelPrograma({});
  if (terminada || !db.gOpenFlag || db.gCnn()->State() != ado::adStateOpen) {
    Escribir(stderr, kPrograma + QStringLiteral(": no se pudo conectar con la base de datos del texto de "
                                                "parámetros; no se verificó nada."));
    return kNoSePudo;
  }

  const QString encabezado = EncabezadoInforme(o.formato);
  if (!encabezado.isEmpty()) Escribir(stdout, encabezado);
  ResumenVerificacion resumen;
  try {
    resumen = VerificarEmpresas(
        o.reparar, [&](const LineaVerificacion& l) { Escribir(stdout, LineaInforme(o.formato, l)); });
  } catch (const std::exception& e) {
    Escribir(stderr, kPrograma + QStringLiteral(": no se pudo leer la tabla de empresas: ") +
                         QString::fromLocal8Bit(e.what()));
    return kNoSePudo;
  }
  Escribir(stdout, ResumenInforme(o.formato, resumen, o.reparar));
  return resumen.hallazgos > 0 ? kConHallazgos : kSinHallazgos;
}
