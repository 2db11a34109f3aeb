#include "lookup/AnchosConsulta.h"

#include <QDir>
#include <QFile>
#include <cmath>

#include "lookup/TextosConsulta.h"
#include "platform/core/Error.h"
#include "platform/services/Cp1252.h"

namespace anchos {
namespace {

// The table's name as the file holds it: the code page's characters, no line breaks.
QString Nombre(const QString& tabla) {
  QString t = DesdeCp1252(HaciaCp1252(tabla));
  for (QChar& c : t)
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
  return t;
}

bool MismaTabla(const QString& enArchivo, const QString& tabla) {
  return Nombre(enArchivo).trimmed().compare(Nombre(tabla).trimmed(), Qt::CaseInsensitive) == 0;
}

QString Linea(const QString& tabla, const QString& anchos) {
  QString nombre = Nombre(tabla);
  nombre.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QStringLiteral("\"") + nombre + QStringLiteral("\",\"") + anchos + QStringLiteral("\"");
}

// Whole numbers without decimals; no conversion to an integer type, whatever the size.
QString TextoAncho(double a) {
  if (!std::isfinite(a)) return QStringLiteral("0");
  return a == std::floor(a) ? QString::number(a, 'f', 0) : QString::number(a, 'f', 2);
}

[[noreturn]] void FalloArchivo(const QString& ruta) {
  throw ado::Failure(75, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta);
}

QByteArray Contenido(const QString& ruta) {
  QFile f(ruta);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList LineasDe(const QByteArray& contenido) {
  if (contenido.isEmpty()) return {};
  QStringList lineas = DesdeCp1252(contenido).split(QLatin1Char('\n'));
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
      ++i;
      while (i < n) {
        if (linea[i] != QLatin1Char('"')) {
          campo += linea[i++];
        } else if (i + 1 < n && linea[i + 1] == QLatin1Char('"')) {
          campo += QLatin1Char('"');
          i += 2;
        } else {
          ++i;
          break;
        }
      }
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

QVector<QVector<double>> LeerDe(const QByteArray& contenido, const QString& tabla) {
  QVector<QVector<double>> salida;
  for (const QString& linea : LineasDe(contenido)) {
    const QStringList c = CamposDeLinea(linea);
    if (c.size() < 2 || !MismaTabla(c[0], tabla)) continue;
    QVector<double> anchos;
    QString resto = c[1];
    for (int barra = static_cast<int>(resto.indexOf(QLatin1Char('|'))); barra >= 0;
         barra = static_cast<int>(resto.indexOf(QLatin1Char('|')))) {
      const double a = textos::Numero(resto.left(barra));
      if (!(a >= 0 && a <= kAnchoMaximo)) break;
      anchos << a;
      resto = resto.mid(barra + 1);
    }
    salida << anchos;
  }
  return salida;
}

QVector<QVector<double>> Leer(const QString& ruta, const QString& tabla) {
  return LeerDe(Contenido(ruta), tabla);
}

QByteArray Reescribir(const QByteArray& contenido, const QString& tabla,
                      const QVector<double>& anchosColumnas) {
  QString texto;
  for (const QString& linea : LineasDe(contenido)) {
    if (linea.trimmed().isEmpty()) continue;
    const QStringList c = CamposDeLinea(linea);
    if (!c.isEmpty() && MismaTabla(c[0], tabla)) continue;
    texto += linea + QStringLiteral("\r\n");
  }
  QString lista;
  for (double a : anchosColumnas) lista += TextoAncho(a) + QLatin1Char('|');
  texto += Linea(tabla, lista) + QStringLiteral("\r\n");
  return HaciaCp1252(texto);
}

void Grabar(const QString& carpeta, const QString& tabla, const QVector<double>& anchosColumnas) {
  const QDir dir(carpeta);
  const QString ruta = dir.filePath(Archivo());
  const QString aux = dir.filePath(Auxiliar());
  const QByteArray bytes = Reescribir(Contenido(ruta), tabla, anchosColumnas);
  QFile f(aux);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) FalloArchivo(aux);
  if (f.write(bytes) != bytes.size()) FalloArchivo(aux);
  f.close();
  if (QFile::exists(ruta) && !QFile::remove(ruta)) FalloArchivo(ruta);
  if (!QFile::rename(aux, ruta)) FalloArchivo(ruta);
}

}  // namespace anchos
