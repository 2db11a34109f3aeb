#include "app/OrdenPadron.h"

#include <unistd.h>

#include <QElapsedTimer>
#include <QLocale>
#include <cstdio>

#include "app/SesionSinVentana.h"
#include "company/rules/ImportarPadron.h"
#include "db/DB_Dll.h"

namespace {

const QString kPrograma = QStringLiteral("MA_Empresas");
constexpr int kImportado = 0;
constexpr int kNoSeImporto = 2;

void Escribir(std::FILE* f, const QString& texto) {
  const QByteArray b = texto.toLocal8Bit();
  std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), f);
  std::fflush(f);
}

QString Numero(qint64 n) { return QLocale(QLocale::Spanish, QLocale::Argentina).toString(n); }

}  // namespace

int EjecutarPadron(const QString& archivo, const QString& parametros) {
  const auto falla = [](const QString& motivo) {
    Escribir(stderr, kPrograma + QStringLiteral(": ") + motivo +
                         QStringLiteral(" No se importó el padrón; ") +
                         QStringLiteral("el anterior, si lo hay, sigue en uso.\n"));
    return kNoSeImporto;
  };
  std::unique_ptr<padron::Lector> lector;
  try {
    lector = padron::Lector::Abrir(archivo);
  } catch (const std::exception& e) {
    return falla(QString::fromStdString(e.what()) + QLatin1Char('.'));
  }
  if (!ConectarSinVentana(parametros))
    return falla(QStringLiteral("no se pudo conectar con la base de datos del texto de parámetros."));

  // Progress only for someone watching; a log gets the summary alone.
  const bool terminal = isatty(fileno(stderr)) == 1;
  QElapsedTimer reloj;
  reloj.start();
  padron::OpcionesImportacion opciones;
  if (terminal)
    opciones.avance = [&reloj](const padron::Lector& l) {
      const qint64 total = l.BytesTotales();
      const QString parte =
          total > 0 ? QStringLiteral("%1 % · ").arg(100 * l.BytesLeidos() / total) : QString();
      Escribir(stderr, QStringLiteral("\rImportando el padrón: %1%2 líneas, %3 s ")
                           .arg(parte, Numero(l.Lineas()))
                           .arg(reloj.elapsed() / 1000));
    };
  padron::ResultadoImportacion r;
  try {
    r = padron::Importar(DB_Dll::Instancia().gCnn(), *lector, opciones);
  } catch (const std::exception& e) {
    if (terminal) Escribir(stderr, QStringLiteral("\n"));
    return falla(QString::fromStdString(e.what()));
  }
  if (terminal) Escribir(stderr, QStringLiteral("\n"));

  QString resumen =
      QStringLiteral("Padrón %1 importado en MA_PADRON_AFIP: %2 líneas, %3 mal formadas, en %4 s.\n")
          .arg(r.fecha.isValid() ? QStringLiteral("del ") + r.fecha.toString(QStringLiteral("dd/MM/yyyy"))
                                 : QStringLiteral("sin fecha en el nombre del archivo"),
               Numero(r.importadas), Numero(r.malformadas))
          .arg(reloj.elapsed() / 1000);
  for (const padron::Malformada& m : r.primeras)
    resumen += QStringLiteral("  línea %1: %2\n").arg(Numero(m.numero), padron::Descripcion(m.defecto));
  if (r.malformadas > r.primeras.size())
    resumen +=
        QStringLiteral("  y %1 líneas mal formadas más\n").arg(Numero(r.malformadas - r.primeras.size()));
  Escribir(stdout, resumen);
  return kImportado;
}
