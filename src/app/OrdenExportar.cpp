#include "app/OrdenExportar.h"

#include <cstdio>
#include <memory>

#include "company/rules/ExportarEmpresas.h"
#include "db/DB_Dll.h"
#include "platform/services/OperadorDeConsola.h"
#include "session/IniciarSesion.h"

namespace {

constexpr int kExportado = 0;
constexpr int kNoSePudo = 2;

void Escribir(std::FILE* f, const QString& texto) {
  const QByteArray b = (texto + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), f);
  std::fflush(f);
}

int Fallo(const QString& motivo) {
  Escribir(stderr, QStringLiteral("MA_Empresas: ") + motivo);
  return kNoSePudo;
}

// The session of the parameter text, as the window would open it, with any
// box answered on the console.
bool Conectar(const QString& texto) {
  EstablecerOperador(std::make_shared<OperadorDeConsola>());
  EstablecerLineaDeComandos(texto);
  bool terminada = false;
  EstablecerFinDelPrograma([&terminada] { terminada = true; });
  try {
    bool usarIni = false;
    QString parametros = texto, conexion;
    IniciarSesion(usarIni, parametros, conexion);
  } catch (const std::exception& e) {
    terminada = true;
    Escribir(stderr, QStringLiteral("MA_Empresas: ") + QString::fromLocal8Bit(e.what()));
  }
  EstablecerFinDelPrograma({});
  auto& db = DB_Dll::Instancia();
  return !terminada && db.gOpenFlag && db.gCnn()->State() == ado::adStateOpen;
}

}  // namespace

int EjecutarExportar(const QString& archivo, const QString& parametros) {
  // A name that says no format is refused before anything is opened.
  if (FormatoDeArchivo(archivo) == FormatoExportacion::Ninguno) return Fallo(ExportarEmpresas(archivo).error);
  if (!Conectar(parametros))
    return Fallo(QStringLiteral(
        "no se pudo conectar con la base de datos del texto de parámetros; no se exportó nada."));
  const ResultadoExportacion r = ExportarEmpresas(archivo);
  if (!r.error.isEmpty()) return Fallo(r.error);
  QString linea =
      QStringLiteral("%1 %2 a %3.")
          .arg(r.filas)
          .arg(r.filas == 1 ? QStringLiteral("empresa exportada") : QStringLiteral("empresas exportadas"),
               archivo);
  if (r.numerosComoTexto > 0)
    linea += QStringLiteral(" %1 %2 de más de 15 cifras, que una planilla redondearía, van como texto.")
                 .arg(r.numerosComoTexto)
                 .arg(r.numerosComoTexto == 1 ? QStringLiteral("número") : QStringLiteral("números"));
  Escribir(stdout, linea);
  return kExportado;
}
