#include "app/LineaDeComandos.h"

#include <cstdio>
#include <optional>

#include "app/OrdenExportar.h"
#include "app/OrdenImportar.h"
#include "app/OrdenPadron.h"
#include "app/ReporteDeLinea.h"
#include "app/SesionSinVentana.h"

#ifndef MA_VERSION
#define MA_VERSION "1.0.0"
#endif

namespace {

const QString kPrograma = QStringLiteral("MA_Empresas");

constexpr int kSinHallazgos = 0;
constexpr int kConHallazgos = 1;
constexpr int kNoSePudo = 2;

QString Ayuda() {
  return QStringLiteral(
      "Uso: MA_Empresas [\"<texto de parámetros>\"]\n"
      "     MA_Empresas --verificar \"<texto de parámetros>\" [--formato=csv] [--reparar]\n"
      "     MA_Empresas --reporte <código> <archivo.pdf> \"<texto de parámetros>\"\n"
      "     MA_Empresas --exportar <archivo.xlsx|archivo.csv> \"<texto de parámetros>\"\n"
      "     MA_Empresas --importar <archivo.xlsx|archivo.csv> \"<texto de parámetros>\" [--aplicar]\n"
      "     MA_Empresas --padron <archivo.zip|archivo.tmp> \"<texto de parámetros>\"\n"
      "     MA_Empresas --help | --version\n"
      "\n"
      "Sin opciones abre el formulario de empresas en la base que indica el texto de\n"
      "parámetros, por ejemplo \"@Server=SQLITE;@DbName=/ruta/demo.sqlite;@Usuario=admin;@Password=;\".\n"
      "\n"
      "  --verificar TEXTO  revisa todas las empresas sin abrir ninguna ventana: CUIT\n"
      "                     (formato y dígito verificador), CUIT repetidos, filas por\n"
      "                     empresa que faltan según las plantillas y códigos no\n"
      "                     alineados a la derecha en 15 caracteres; con un padrón\n"
      "                     de AFIP en la base, también CUIT que no figuran en él y\n"
      "                     nombres distintos del registrado; una línea por\n"
      "                     hallazgo y un resumen al final\n"
      "  --formato=csv      el informe en CSV: empresa,nombre,hallazgo,detalle\n"
      "                     (--formato=texto, el de omisión, en texto); una celda\n"
      "                     que empieza con =, +, -, @, tabulador o retorno de carro\n"
      "                     lleva delante un apóstrofo (') para que ninguna planilla\n"
      "                     la tome por una fórmula\n"
      "  --reparar          además completa las filas por empresa que faltan, una\n"
      "                     transacción por empresa, y dice qué agregó\n"
      "  --reporte CÓDIGO ARCHIVO TEXTO\n"
      "                     guarda en ARCHIVO (PDF, A4) la hoja de la empresa CÓDIGO,\n"
      "                     la misma que muestra Reporte (Ctrl+R) en el formulario;\n"
      "                     estado 2 si no pudo conectarse, la empresa no existe o\n"
      "                     no pudo escribir el archivo\n"
      "  --exportar ARCHIVO TEXTO\n"
      "                     escribe todas las empresas, por código, en una planilla:\n"
      "                     .xlsx (números, fechas y textos con su tipo) o .csv\n"
      "                     (UTF-8, separado por comas); una columna por cada\n"
      "                     columna de la tabla, la de su nombre, salvo el logo\n"
      "  --importar ARCHIVO TEXTO\n"
      "                     lee empresas de una planilla (.xlsx o .csv) cuya primera\n"
      "                     fila nombra columnas de P_MA_Empresas y dice, fila por\n"
      "                     fila, si es nueva, qué cambia, si no cambia o por qué se\n"
      "                     rechaza; no graba nada\n"
      "  --aplicar          además graba las filas aceptadas como el formulario, una\n"
      "                     transacción por empresa\n"
      "  --padron ARCHIVO TEXTO\n"
      "                     carga el padrón de AFIP (apellido y nombre o\n"
      "                     denominación, el zip o su .tmp) en MA_PADRON_AFIP;\n"
      "                     reemplaza al anterior sólo si termina bien\n"
      "  -h, --help         muestra esta ayuda y termina\n"
      "  --version          muestra la versión y termina\n"
      "\n"
      "Estado de salida: 0 sin hallazgos, 1 con hallazgos (--importar: filas\n"
      "rechazadas), 2 cuando no pudo conectarse, leer o escribir, o las opciones\n"
      "están mal usadas. --reporte, --exportar y --padron: 0 hecho, 2 no hecho.");
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

  bool ayuda = false, version = false, formato = false;
  Orden pedida = Orden::Ventana;
  QString pedidaCon;  // the switch that asked for it
  // One order at a time: each connects and works on its own.
  auto pedir = [&](Orden orden, const QString& opcion) -> std::optional<OrdenesDeLinea> {
    if (pedida != Orden::Ventana)
      return MalUso(QStringLiteral("%1 y %2 van por separado").arg(pedidaCon, opcion));
    pedida = orden;
    pedidaCon = opcion;
    return std::nullopt;
  };
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
    // A file, then the parameter text.
    auto archivoYTexto = [&]() {
      const std::optional<QString> archivo = valor();
      if (!archivo || i + 1 >= argumentos.size()) return false;
      o.archivo = *archivo;
      o.parametros = argumentos[++i];
      return true;
    };
    if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      ayuda = true;
    } else if (a == QLatin1String("--version")) {
      version = true;
    } else if (nombre == QLatin1String("--verificar")) {
      if (auto mal = pedir(Orden::Verificar, nombre)) return *mal;
      const std::optional<QString> v = valor();
      if (!v) return MalUso(QStringLiteral("--verificar necesita el texto de parámetros"));
      o.parametros = *v;
    } else if (a == QLatin1String("--reporte")) {
      if (auto mal = pedir(Orden::Reporte, a)) return *mal;
      if (i + 3 >= argumentos.size())
        return MalUso(
            QStringLiteral("--reporte necesita el código, el archivo PDF y el texto de parámetros"));
      o.codigo = argumentos[++i];
      o.archivo = argumentos[++i];
      o.parametros = argumentos[++i];
    } else if (nombre == QLatin1String("--exportar")) {
      if (auto mal = pedir(Orden::Exportar, nombre)) return *mal;
      if (!archivoYTexto())
        return MalUso(
            QStringLiteral("--exportar necesita el archivo (.xlsx o .csv) y el texto de parámetros"));
    } else if (nombre == QLatin1String("--importar")) {
      if (auto mal = pedir(Orden::Importar, nombre)) return *mal;
      if (!archivoYTexto())
        return MalUso(QStringLiteral("--importar necesita el archivo y el texto de parámetros"));
    } else if (nombre == QLatin1String("--padron")) {
      if (auto mal = pedir(Orden::Padron, nombre)) return *mal;
      if (!archivoYTexto())
        return MalUso(QStringLiteral("--padron necesita el archivo del padrón y el texto de parámetros"));
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
    } else if (a == QLatin1String("--aplicar")) {
      o.aplicar = Aplicacion::Grabar;
    } else if (a.startsWith(QLatin1Char('-'))) {
      return MalUso(QStringLiteral("opción desconocida: %1").arg(a));
    } else {
      return MalUso(QStringLiteral("argumento de más: %1").arg(a));
    }
  }
  if (ayuda) {
    o.orden = Orden::Ayuda;
  } else if (version) {
    o.orden = Orden::Version;
  } else if ((formato || o.reparar == Reparacion::Completar) && pedida != Orden::Verificar) {
    return MalUso(QStringLiteral("--formato y --reparar acompañan a --verificar"));
  } else if (o.aplicar == Aplicacion::Grabar && pedida != Orden::Importar) {
    return MalUso(QStringLiteral("--aplicar acompaña a --importar"));
  } else {
    o.orden = pedida;
  }
  return o;
}

int EjecutarOrdenes(const OrdenesDeLinea& o) {
  switch (o.orden) {
    case Orden::Ventana:
      return kNoSePudo;  // the window is main's
    case Orden::Ayuda:
      EscribirLinea(stdout, Ayuda());
      return kSinHallazgos;
    case Orden::Version:
      EscribirLinea(stdout, kPrograma + QLatin1Char(' ') + QStringLiteral(MA_VERSION));
      return kSinHallazgos;
    case Orden::MalUso:
      EscribirLinea(stderr, kPrograma + QStringLiteral(": ") + o.error + QLatin1Char('\n') +
                                QStringLiteral("Pruebe 'MA_Empresas --help' para más información."));
      return kNoSePudo;
    case Orden::Reporte:
      return EjecutarReporte(o.codigo, o.archivo, o.parametros);
    case Orden::Exportar:
      return EjecutarExportar(o.archivo, o.parametros);
    case Orden::Importar:
      return EjecutarImportar(o);
    case Orden::Padron:
      return EjecutarPadron(o.archivo, o.parametros);
    case Orden::Verificar:
      break;
  }

  if (!ConectarSinVentana(o.parametros)) {
    EscribirLinea(stderr,
                  kPrograma + QStringLiteral(": no se pudo conectar con la base de datos del texto de "
                                             "parámetros; no se verificó nada."));
    return kNoSePudo;
  }

  const QString encabezado = EncabezadoInforme(o.formato);
  if (!encabezado.isEmpty()) EscribirLinea(stdout, encabezado);
  ResumenVerificacion resumen;
  try {
    resumen = VerificarEmpresas(
        o.reparar, [&](const LineaVerificacion& l) { EscribirLinea(stdout, LineaInforme(o.formato, l)); });
  } catch (const std::exception& e) {
    EscribirLinea(stderr, kPrograma + QStringLiteral(": no se pudo leer la tabla de empresas: ") +
                              QString::fromLocal8Bit(e.what()));
    return kNoSePudo;
  }
  EscribirLinea(stdout, ResumenInforme(o.formato, resumen, o.reparar));
  return resumen.hallazgos > 0 ? kConHallazgos : kSinHallazgos;
}
