#include "company/rules/EncabezadosImportacion.h"

#include <QHash>

#include "company/rules/CamposEmpresa.h"

namespace {

bool EsPersonalizada(const QString& columna) {
  return columna.left(2).compare("P_", Qt::CaseInsensitive) == 0;
}

bool EsImagen(const QString& columna) {
  return columna.compare(QLatin1String("Imagen"), Qt::CaseInsensitive) == 0;
}

// Every caption a column answers to besides its own name.
QStringList Titulos(const QString& columna) {
  QStringList r;
  for (const CampoEmpresa& c : kTablaCampos)
    if (columna.compare(QLatin1String(c.columna), Qt::CaseInsensitive) == 0)
      r << QString::fromLatin1(c.etiqueta);
  if (columna.compare(QLatin1String("PideHonorarios"), Qt::CaseInsensitive) == 0)
    r << QStringLiteral("Honorarios") << QStringLiteral("Pedir Honorarios");
  if (EsImagen(columna)) r << QStringLiteral("Logo");
  if (EsPersonalizada(columna)) r << columna.mid(2);
  return r;
}

QString Texto(const CeldaPlanilla& c) {
  switch (c.clase) {
    case CeldaPlanilla::Clase::Texto:
    case CeldaPlanilla::Clase::Error:
      return c.texto;
    case CeldaPlanilla::Clase::Numero:
      return QString::number(c.numero, 'g', 15);
    default:
      return {};
  }
}

}  // namespace

QString ClaveDeEncabezado(const QString& texto) {
  QString t = texto.normalized(QString::NormalizationForm_D);
  QString r;
  r.reserve(t.size());
  for (QChar c : t)
    if (c.category() != QChar::Mark_NonSpacing) r += c;
  r = r.simplified().toLower();
  if (r.endsWith(u':')) r = r.chopped(1).trimmed();
  return r;
}

QString TituloDeColumna(const QString& columna) {
  for (const CampoEmpresa& c : kTablaCampos)
    if (columna.compare(QLatin1String(c.columna), Qt::CaseInsensitive) == 0) {
      QString t = QString::fromLatin1(c.etiqueta);
      return t.endsWith(u':') ? t.chopped(1) : t;
    }
  if (columna.compare(QLatin1String("PideHonorarios"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Honorarios");
  if (EsPersonalizada(columna)) return columna.mid(2);
  return columna;
}

int Encabezados::IndiceDe(const QString& columna) const {
  for (const ColumnaImportada& c : columnas)
    if (c.columna.compare(columna, Qt::CaseInsensitive) == 0) return c.indice;
  return -1;
}

Encabezados LeerEncabezados(const FilaPlanilla& encabezado, const QStringList& columnas) {
  QHash<QString, QString> porNombre;
  QHash<QString, QStringList> porTitulo;
  for (const QString& c : columnas) {
    porNombre.insert(ClaveDeEncabezado(c), c);
    for (const QString& t : Titulos(c)) {
      QStringList& lista = porTitulo[ClaveDeEncabezado(t)];
      if (!lista.contains(c)) lista << c;
    }
  }
  Encabezados e;
  QStringList desconocidos, repetidos, ambiguos;
  QHash<QString, QString> tomadas;  // column -> the header that named it
  for (int i = 0; i < encabezado.celdas.size(); ++i) {
    const QString texto = Texto(encabezado.celdas[i]).trimmed();
    if (texto.isEmpty()) {
      e.sinNombre << i;
      continue;
    }
    const QString clave = ClaveDeEncabezado(texto);
    QString columna = porNombre.value(clave);
    if (columna.isEmpty()) {
      const QStringList candidatas = porTitulo.value(clave);
      if (candidatas.size() > 1) {
        ambiguos << QStringLiteral("\"%1\" (%2)").arg(texto, candidatas.join(QStringLiteral(", ")));
        continue;
      }
      if (candidatas.isEmpty()) {
        desconocidos << QStringLiteral("\"%1\"").arg(texto);
        continue;
      }
      columna = candidatas.first();
    }
    const QString clavesColumna = columna.toLower();
    if (tomadas.contains(clavesColumna)) {
      repetidos << QStringLiteral("\"%1\" y \"%2\"").arg(tomadas.value(clavesColumna), texto);
      continue;
    }
    tomadas.insert(clavesColumna, texto);
    if (EsImagen(columna)) {
      e.ignoradas << texto;
      continue;
    }
    e.columnas.push_back({i, texto, columna});
  }
  QStringList errores;
  if (!desconocidos.isEmpty())
    errores << QStringLiteral("%1 no %2 ninguna columna de P_MA_Empresas")
                   .arg(desconocidos.join(QStringLiteral(", ")),
                        desconocidos.size() == 1 ? QStringLiteral("nombra") : QStringLiteral("nombran"));
  for (const QString& a : ambiguos) errores << QStringLiteral("%1 nombra más de una columna").arg(a);
  for (const QString& r : repetidos) errores << QStringLiteral("%1 nombran la misma columna").arg(r);
  if (errores.isEmpty() && e.IndiceDe(QStringLiteral("IdEmpresa")) < 0)
    errores << QStringLiteral("ningún encabezado nombra el código de la empresa (IdEmpresa o Empresa)");
  e.error = errores.join(QStringLiteral("; "));
  return e;
}
