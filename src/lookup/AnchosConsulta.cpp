#include "lookup/AnchosConsulta.h"

#include <QDir>
#include <QFile>

#include "lookup/TextosConsulta.h"
#include "platform/core/Error.h"
#include "platform/services/Cp1252.h"

namespace anchos {
namespace {

QString Linea(const QString& tabla, const QString& anchos) {
  return QStringLiteral("\"") + tabla + QStringLiteral("\",\"") + anchos + QStringLiteral("\"");
}

QString TextoAncho(double a) {
  return a == static_cast<qint64>(a) ? QString::number(static_cast<qint64>(a)) : QString::number(a, 'f', 2);
}

[[noreturn]] void FalloArchivo(const QString& ruta) {
  throw ado::Failure(75, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta);
}

QStringList LineasDe(const QString& ruta) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QStringList lineas = DesdeCp1252(f.readAll()).split(QLatin1Char('\n'));
  for (QString& l : lineas)
    if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
  return lineas;
}

}  // namespace

QStringList CamposDeLinea(const QString& linea) {
  QStringList campos;
  int i = 0;
  const int n = static_cast<int>(linea.size());
  while (i < n) {
    while (i < n && linea[i] == QLatin1Char(' ')) ++i;
    QString campo;
    if (i < n && linea[i] == QLatin1Char('"')) {
      const int cierre = static_cast<int>(linea.indexOf(QLatin1Char('"'), i + 1));
      campo = cierre < 0 ? linea.mid(i + 1) : linea.mid(i + 1, cierre - i - 1);
      i = cierre < 0 ? n : cierre + 1;
      const int coma = static_cast<int>(linea.indexOf(QLatin1Char(','), i));
      i = coma < 0 ? n : coma + 1;
    } else {
      const int coma = static_cast<int>(linea.indexOf(QLatin1Char(','), i));
      campo = (coma < 0 ? linea.mid(i) : linea.mid(i, coma - i)).trimmed();
      i = coma < 0 ? n : coma + 1;
    }
    campos << campo;
  }
  return campos;
}

QVector<QVector<double>> Leer(const QString& ruta, const QString& tabla) {
  QVector<QVector<double>> salida;
  for (const QString& linea : LineasDe(ruta)) {
    const QStringList c = CamposDeLinea(linea);
    if (c.size() < 2 || c[0].trimmed().compare(tabla.trimmed(), Qt::CaseInsensitive) != 0) continue;
    QVector<double> anchos;
    QString resto = c[1];
    for (int barra = static_cast<int>(resto.indexOf(QLatin1Char('|'))); barra >= 0;
         barra = static_cast<int>(resto.indexOf(QLatin1Char('|')))) {
      anchos << textos::Numero(resto.left(barra));
      resto = resto.mid(barra + 1);
    }
    salida << anchos;
  }
  return salida;
}

void Grabar(const QString& carpeta, const QString& tabla, const QVector<double>& anchosColumnas) {
  const QDir dir(carpeta);
  const QString ruta = dir.filePath(Archivo());
  const QString aux = dir.filePath(Auxiliar());
  QString texto;
  for (const QString& linea : LineasDe(ruta)) {
    const QStringList c = CamposDeLinea(linea);
    if (linea.trimmed().isEmpty()) continue;
    if (!c.isEmpty() && c[0].trimmed().compare(tabla.trimmed(), Qt::CaseInsensitive) == 0) continue;
    texto += linea + QStringLiteral("\r\n");
  }
  QString lista;
  for (double a : anchosColumnas) lista += TextoAncho(a) + QLatin1Char('|');
  texto += Linea(tabla, lista) + QStringLiteral("\r\n");

  QFile f(aux);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) FalloArchivo(aux);
  const QByteArray bytes = HaciaCp1252(texto);
  if (f.write(bytes) != bytes.size()) FalloArchivo(aux);
  f.close();
  if (QFile::exists(ruta) && !QFile::remove(ruta)) FalloArchivo(ruta);
  if (!QFile::rename(aux, ruta)) FalloArchivo(ruta);
}

}  // namespace anchos
