#include "platform/services/LectorXlsx.h"

#include <zip.h>

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>
#include <cmath>
#include <memory>
#include <optional>
#include <stdexcept>

namespace {

// No part of a sheet an operator imports comes near this unpacked.
constexpr zip_uint64_t kMayorParte = 256u * 1024 * 1024;
// Columns as far as XFD.
constexpr int kMayorColumna = 16384;

struct Fallo : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Zip {
 public:
  explicit Zip(const QByteArray& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* fuente =
        zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (fuente) {
      zip_ = zip_open_from_source(fuente, ZIP_RDONLY, &error);
      if (!zip_) zip_source_free(fuente);
    }
    zip_error_fini(&error);
    if (!zip_) throw Fallo("no es un libro XLSX (no se abre como ZIP)");
  }
  ~Zip() {
    if (zip_) zip_discard(zip_);
  }
  Zip(const Zip&) = delete;
  Zip& operator=(const Zip&) = delete;

  // The part, or none when the workbook lacks it.
  std::optional<QByteArray> Parte(const QString& nombre) const {
    const QByteArray n = nombre.toUtf8();
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(zip_, n.constData(), ZIP_FL_NOCASE, &st) != 0) return std::nullopt;
    if (!(st.valid & ZIP_STAT_SIZE) || st.size > kMayorParte)
      throw Fallo(QStringLiteral("la parte %1 es demasiado grande").arg(nombre).toStdString());
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> f(zip_fopen(zip_, n.constData(), ZIP_FL_NOCASE),
                                                         &zip_fclose);
    if (!f) throw Fallo(QStringLiteral("no se puede leer la parte %1").arg(nombre).toStdString());
    QByteArray datos(static_cast<qsizetype>(st.size), Qt::Uninitialized);
    zip_int64_t leidos = 0;
    while (leidos < static_cast<zip_int64_t>(st.size)) {
      const zip_int64_t r = zip_fread(f.get(), datos.data() + leidos, st.size - leidos);
      if (r <= 0) throw Fallo(QStringLiteral("la parte %1 está dañada").arg(nombre).toStdString());
      leidos += r;
    }
    return datos;
  }

 private:
  zip_t* zip_ = nullptr;
};

void Comprobar(const QXmlStreamReader& x, const QString& parte) {
  if (x.hasError())
    throw Fallo(QStringLiteral("la parte %1 no es XML válido: %2").arg(parte, x.errorString()).toStdString());
}

// The text of an element whose text may come in runs (<r><t>) beside phonetic
// runs (<rPh>), which are not part of it; the reader ends on its end tag.
QString TextoDe(QXmlStreamReader& x) {
  QString t;
  int profundidad = 1, fonetica = 0;
  while (profundidad > 0 && !x.atEnd()) {
    switch (x.readNext()) {
      case QXmlStreamReader::StartElement:
        ++profundidad;
        if (x.name() == u"rPh")
          ++fonetica;
        else if (x.name() == u"t" && fonetica == 0) {
          t += x.readElementText(QXmlStreamReader::IncludeChildElements);
          --profundidad;
        }
        break;
      case QXmlStreamReader::EndElement:
        --profundidad;
        if (x.name() == u"rPh") --fonetica;
        break;
      default:
        break;
    }
  }
  return t;
}

QStringList Compartidas(const Zip& zip) {
  QStringList r;
  const QString parte = QStringLiteral("xl/sharedStrings.xml");
  const auto datos = zip.Parte(parte);
  if (!datos) return r;
  QXmlStreamReader x(*datos);
  while (!x.atEnd()) {
    if (x.readNext() == QXmlStreamReader::StartElement && x.name() == u"si") r << TextoDe(x);
  }
  Comprobar(x, parte);
  return r;
}

// Whether a number format shows a date or a time: a day, month, year, hour or
// second code outside quoted text, escapes and [colour] or [$-locale] parts.
bool FormatoDeFecha(const QString& codigo) {
  bool comillas = false, corchete = false;
  for (int i = 0; i < codigo.size(); ++i) {
    const QChar c = codigo.at(i);
    if (comillas) {
      comillas = c != u'"';
    } else if (corchete) {
      corchete = c != u']';
    } else if (c == u'"') {
      comillas = true;
    } else if (c == u'[') {
      // [h], [mm], [ss]: elapsed times are times.
      const int fin = codigo.indexOf(u']', i);
      const QString dentro = codigo.mid(i + 1, fin < 0 ? -1 : fin - i - 1).toLower();
      if (!dentro.isEmpty() && (dentro.count(u'h') == dentro.size() || dentro.count(u'm') == dentro.size() ||
                                dentro.count(u's') == dentro.size()))
        return true;
      corchete = true;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;
    } else if (QStringLiteral("dmyhsDMYHS").contains(c)) {
      return true;
    }
  }
  return false;
}

bool FormatoPropioDeFecha(int id) { return (id >= 14 && id <= 22) || (id >= 45 && id <= 47); }

// For each cell style (the cell's "s"), whether it shows a date.
QVector<bool> EstilosDeFecha(const Zip& zip) {
  QVector<bool> r;
  const QString parte = QStringLiteral("xl/styles.xml");
  const auto datos = zip.Parte(parte);
  if (!datos) return r;
  QHash<int, bool> propios;
  QXmlStreamReader x(*datos);
  bool enCeldas = false;
  while (!x.atEnd()) {
    const auto t = x.readNext();
    if (t == QXmlStreamReader::StartElement) {
      if (x.name() == u"numFmt") {
        propios[x.attributes().value(QLatin1String("numFmtId")).toInt()] =
            FormatoDeFecha(x.attributes().value(QLatin1String("formatCode")).toString());
      } else if (x.name() == u"cellXfs") {
        enCeldas = true;
      } else if (enCeldas && x.name() == u"xf") {
        const int id = x.attributes().value(QLatin1String("numFmtId")).toInt();
        r << (propios.contains(id) ? propios.value(id) : FormatoPropioDeFecha(id));
      }
    } else if (t == QXmlStreamReader::EndElement && x.name() == u"cellXfs") {
      enCeldas = false;
    }
  }
  Comprobar(x, parte);
  return r;
}

struct Libro {
  QString hoja;
  bool fecha1904 = false;
};

QString Resolver(const QString& destino) {
  if (destino.startsWith(u'/')) return destino.mid(1);
  QString r = QStringLiteral("xl/") + destino;
  while (r.contains(QStringLiteral("/../"))) {
    const int i = r.indexOf(QStringLiteral("/../"));
    const int antes = r.lastIndexOf(u'/', i - 1);
    r.remove(antes + 1, i + 4 - antes - 1);
  }
  return r;
}

// The first sheet of the workbook, by its relationship.
Libro PrimeraHoja(const Zip& zip) {
  Libro libro;
  const QString parte = QStringLiteral("xl/workbook.xml");
  const auto datos = zip.Parte(parte);
  if (!datos) throw Fallo("no es un libro XLSX (le falta xl/workbook.xml)");
  QString id;
  QXmlStreamReader x(*datos);
  while (!x.atEnd()) {
    if (x.readNext() != QXmlStreamReader::StartElement) continue;
    if (x.name() == u"workbookPr") {
      const auto v = x.attributes().value(QLatin1String("date1904"));
      libro.fecha1904 = v == u"1" || v == u"true";
    } else if (x.name() == u"sheet" && id.isEmpty()) {
      for (const QXmlStreamAttribute& a : x.attributes())
        if (a.name() == u"id" && !a.namespaceUri().isEmpty()) id = a.value().toString();
    }
  }
  Comprobar(x, parte);
  if (id.isEmpty()) throw Fallo("el libro no tiene hojas");
  const QString rels = QStringLiteral("xl/_rels/workbook.xml.rels");
  if (const auto r = zip.Parte(rels)) {
    QXmlStreamReader y(*r);
    while (!y.atEnd()) {
      if (y.readNext() == QXmlStreamReader::StartElement && y.name() == u"Relationship" &&
          y.attributes().value(QLatin1String("Id")) == id)
        libro.hoja = Resolver(y.attributes().value(QLatin1String("Target")).toString());
    }
    Comprobar(y, rels);
  }
  if (libro.hoja.isEmpty()) libro.hoja = QStringLiteral("xl/worksheets/sheet1.xml");
  return libro;
}

// "BC12" → 54 (0-based), or -1 without letters.
int ColumnaDe(QStringView ref) {
  int c = 0, letras = 0;
  for (QChar ch : ref) {
    const char16_t u = ch.toUpper().unicode();
    if (u < u'A' || u > u'Z') break;
    c = c * 26 + (u - u'A' + 1);
    if (++letras > 3) return -1;
  }
  return letras == 0 || c > kMayorColumna ? -1 : c - 1;
}

QDateTime DeSerie(double serie, bool fecha1904) {
  // Day 60 of the 1900 system is a 29 February that never was: the days from 1 March on count from 30
  // December 1899.
  const QDate base = fecha1904 ? QDate(1904, 1, 1) : serie < 61 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
  const double dias = std::floor(serie);
  const qint64 segundos = std::llround((serie - dias) * 86400.0);
  return QDateTime(base.addDays(static_cast<qint64>(dias)), QTime(0, 0)).addSecs(segundos);
}

CeldaPlanilla Celda(const QString& tipo, const QString& valor, const QString& enLinea, bool conValor,
                    bool esFecha, bool fecha1904, const QStringList& compartidas) {
  CeldaPlanilla c;
  if (tipo == u"inlineStr") return CeldaPlanilla::DeTexto(enLinea);
  if (!conValor) return c;
  if (tipo == u"s") {
    bool ok = false;
    const int i = valor.trimmed().toInt(&ok);
    if (!ok || i < 0 || i >= compartidas.size())
      throw Fallo("una celda remite a un texto que el libro no tiene");
    return CeldaPlanilla::DeTexto(compartidas.at(i));
  }
  if (tipo == u"str") return CeldaPlanilla::DeTexto(valor);
  if (tipo == u"b") {
    c.clase = CeldaPlanilla::Clase::Logico;
    c.logico = valor.trimmed() == u"1" || valor.trimmed().compare(u"true", Qt::CaseInsensitive) == 0;
    return c;
  }
  if (tipo == u"e") {
    c.clase = CeldaPlanilla::Clase::Error;
    c.texto = valor;
    return c;
  }
  if (tipo == u"d") {  // an ISO 8601 date, as some writers store them
    c.fecha = QDateTime::fromString(valor.trimmed(), Qt::ISODate);
    if (!c.fecha.isValid()) c.fecha = QDateTime(QDate::fromString(valor.trimmed(), Qt::ISODate), QTime(0, 0));
    if (!c.fecha.isValid()) throw Fallo("una celda de fecha no tiene una fecha");
    c.clase = CeldaPlanilla::Clase::Fecha;
    return c;
  }
  if (valor.trimmed().isEmpty()) return c;
  bool ok = false;
  const double n = valor.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(n)) throw Fallo("una celda numérica no tiene un número");
  // A date beyond the year 9999 is no date a sheet shows: the number stays a number.
  if (esFecha && n >= 0 && n < 2958466) {
    c.clase = CeldaPlanilla::Clase::Fecha;
    c.fecha = DeSerie(n, fecha1904);
  } else {
    c.clase = CeldaPlanilla::Clase::Numero;
    c.numero = n;
  }
  return c;
}

Planilla Leer(const QByteArray& bytes) {
  Zip zip(bytes);
  const Libro libro = PrimeraHoja(zip);
  const QStringList compartidas = Compartidas(zip);
  const QVector<bool> fechas = EstilosDeFecha(zip);
  const auto datos = zip.Parte(libro.hoja);
  if (!datos) throw Fallo(QStringLiteral("al libro le falta su hoja %1").arg(libro.hoja).toStdString());

  Planilla p;
  QXmlStreamReader x(*datos);
  FilaPlanilla fila;
  bool enFila = false;
  int ultimaFila = 0;
  auto cerrarFila = [&] {
    bool conContenido = false;
    for (const CeldaPlanilla& c : fila.celdas) conContenido = conContenido || !c.Vacia();
    if (conContenido) p.filas.push_back(std::move(fila));
    fila = FilaPlanilla();
    enFila = false;
  };
  while (!x.atEnd()) {
    const auto t = x.readNext();
    if (t == QXmlStreamReader::EndElement && x.name() == u"row") {
      cerrarFila();
      continue;
    }
    if (t != QXmlStreamReader::StartElement) continue;
    if (x.name() == u"row") {
      if (enFila) cerrarFila();
      enFila = true;
      bool ok = false;
      const int r = x.attributes().value(QLatin1String("r")).toInt(&ok);
      fila.numero = ok && r > ultimaFila ? r : ultimaFila + 1;
      ultimaFila = fila.numero;
    } else if (x.name() == u"c" && enFila) {
      const auto atributos = x.attributes();
      const int col = atributos.hasAttribute(QLatin1String("r")) ? ColumnaDe(atributos.value(QLatin1String("r"))) : fila.celdas.size();
      if (col < 0 || col < fila.celdas.size())
        throw Fallo(
            QStringLiteral("la fila %1 tiene una celda fuera de lugar").arg(fila.numero).toStdString());
      const QString tipo = atributos.value(QLatin1String("t")).toString();
      const int estilo = atributos.value(QLatin1String("s")).toInt();
      QString valor, enLinea;
      bool conValor = false;
      int profundidad = 1;
      while (profundidad > 0 && !x.atEnd()) {
        const auto u = x.readNext();
        if (u == QXmlStreamReader::EndElement) {
          --profundidad;
        } else if (u == QXmlStreamReader::StartElement) {
          if (x.name() == u"v") {
            valor = x.readElementText(QXmlStreamReader::IncludeChildElements);
            conValor = true;
          } else if (x.name() == u"is") {
            enLinea = TextoDe(x);
          } else {
            ++profundidad;
          }
        }
      }
      const bool esFecha = estilo >= 0 && estilo < fechas.size() && fechas.at(estilo);
      fila.celdas.resize(col);
      fila.celdas.push_back(Celda(tipo, valor, enLinea, conValor, esFecha, libro.fecha1904, compartidas));
    }
  }
  Comprobar(x, libro.hoja);
  if (enFila) cerrarFila();
  return p;
}

}  // namespace

Planilla LeerXlsx(const QByteArray& bytes) {
  try {
    return Leer(bytes);
  } catch (const Fallo& f) {
    Planilla p;
    p.error = QString::fromStdString(f.what());
    return p;
  }
}
