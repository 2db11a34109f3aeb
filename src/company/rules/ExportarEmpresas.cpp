#include "company/rules/ExportarEmpresas.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <optional>

#include "company/rules/CamposEmpresa.h"
#include "company/rules/CompletitudEmpresa.h"
#include "company/rules/HojaExportada.h"
#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/client/Recordset.h"
#include "platform/client/TypeMapping.h"

namespace {

const QString kTabla = QStringLiteral("P_MA_Empresas");
const QString kCodigo = QStringLiteral("IdEmpresa");
// Large pages: until the server has statistics of a table just filled, it may
// read the whole table and sort it for each page rather than follow the key's
// index. 10,000 companies keep a few MB in memory.
constexpr int kPorPagina = 10000;
constexpr int kAnchoMinimo = 8;
constexpr int kAnchoMaximo = 50;

struct Columna {
  ColumnaExportada hoja;
  bool numerica = false;
};

// A name as written in a statement: bracketed only where it must be, as few
// translations need to read brackets.
QString Identificador(const QString& nombre) {
  static const QRegularExpression simple(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
  if (simple.match(nombre).hasMatch()) return nombre;
  return QLatin1Char('[') + QString(nombre).replace(QLatin1Char(']'), QStringLiteral("]]")) +
         QLatin1Char(']');
}

QString Literal(const QString& texto) {
  return QLatin1Char('\'') + DuplicarApostrofes(texto) + QLatin1Char('\'');
}

int AnchoDe(const ado::Field& f) {
  const int tipo = f.Type();
  int ancho = 12;
  if (ado::types::IsText(tipo))
    ancho =
        f.DefinedSize() > 0 ? static_cast<int>(std::min<long>(f.DefinedSize(), kAnchoMaximo)) : kAnchoMaximo;
  else if (ado::types::IsDateTime(tipo))
    ancho = tipo == ado::adDBDate ? 11 : 19;
  else if (ado::types::IsFloating(tipo) || ado::types::IsInteger(tipo))
    ancho = 16;
  return std::max({ancho, kAnchoMinimo, static_cast<int>(f.Name().size()) + 2});
}

// The form's own columns under the name the program gives them, whatever
// letter case the engine keeps (PostgreSQL's is lower case); the others as the
// engine names them.
QString NombreDe(const QString& columna) {
  for (const CampoEmpresa& c : kTablaCampos)
    if (columna.compare(QLatin1String(c.columna), Qt::CaseInsensitive) == 0) return QLatin1String(c.columna);
  const QString honorarios = QStringLiteral("PideHonorarios");
  return columna.compare(honorarios, Qt::CaseInsensitive) == 0 ? honorarios : columna;
}

// Every column of the table but pictures, which no cell can hold, in the table's order.
QVector<Columna> ColumnasDeLaTabla(const ado::ConnectionPtr& cnn) {
  ado::Recordset rs;
  rs.Open(DB_Dll::Instancia().SS_TSinonimos(QStringLiteral("SELECT * FROM ") + kTabla +
                                            QStringLiteral(" WHERE 1 = 0")),
          cnn, ado::adOpenForwardOnly, ado::adLockReadOnly);
  QVector<Columna> columnas;
  for (int i = 0; i < rs.FieldCount(); ++i) {
    const ado::Field& f = rs.Fields(i);
    if (ado::types::IsBinary(f.Type())) continue;
    columnas.push_back({{NombreDe(f.Name()), AnchoDe(f)},
                        ado::types::IsFloating(f.Type()) || ado::types::IsInteger(f.Type())});
  }
  rs.Close();
  return columnas;
}

class Exportacion {
 public:
  Exportacion(HojaExportada& hoja, QVector<Columna> columnas, ado::ConnectionPtr cnn, int porPagina)
      : hoja_(hoja),
        columnas_(std::move(columnas)),
        cnn_(std::move(cnn)),
        porPagina_(std::max(porPagina, 1)) {
    QStringList nombres;
    for (const Columna& c : columnas_) nombres << Identificador(c.hoja.nombre);
    lista_ = nombres.join(QStringLiteral(", "));
    for (int i = 0; i < columnas_.size(); ++i)
      if (columnas_[i].hoja.nombre == kCodigo) codigo_ = i;
    if (codigo_ < 0) throw ado::Failure(3265, kTabla + QStringLiteral(" no tiene la columna ") + kCodigo);
    celdas_.resize(columnas_.size());
  }

  // Pages in code order, each after the last code of the one before: the
  // code is the key, so no company is read twice or missed.
  void Ejecutar(ResultadoExportacion& r) {
    QVector<ColumnaExportada> hoja;
    for (const Columna& c : columnas_) hoja << c.hoja;
    hoja_.Encabezado(hoja);
    std::optional<QString> ultimo;
    for (;;) {
      QString sql = QStringLiteral("SELECT TOP %1 %2 FROM %3").arg(porPagina_).arg(lista_, kTabla);
      if (ultimo) sql += QStringLiteral(" WHERE ") + kCodigo + QStringLiteral(" > ") + Literal(*ultimo);
      sql += QStringLiteral(" ORDER BY ") + kCodigo;
      int leidas = 0;
      LeerConsulta(sql, cnn_, [&](ado::Recordset& rs) {
        if (!hoja_.Error().isEmpty()) return;
        for (int i = 0; i < columnas_.size(); ++i) {
          celdas_[i] = CeldaDe(rs.Fields(i).GetValue(), columnas_[i].numerica);
          if (celdas_[i].numeroComoTexto) ++r.numerosComoTexto;
        }
        ultimo = rs.Fields(codigo_).GetValue().toString();
        // The code as the operator types it and an import looks it up, without its alignment.
        celdas_[codigo_].texto = ultimo->trimmed();
        hoja_.Fila(celdas_);
        ++leidas;
      });
      r.filas += leidas;
      if (!hoja_.Error().isEmpty() || leidas < porPagina_) break;
    }
  }

 private:
  HojaExportada& hoja_;
  QVector<Columna> columnas_;
  ado::ConnectionPtr cnn_;
  int porPagina_;
  QString lista_;
  int codigo_ = -1;
  QVector<Celda> celdas_;
};

}  // namespace

FormatoExportacion FormatoDeArchivo(const QString& archivo) {
  const QString extension = QFileInfo(archivo).suffix().toLower();
  if (extension == QLatin1String("xlsx")) return FormatoExportacion::Xlsx;
  if (extension == QLatin1String("csv")) return FormatoExportacion::Csv;
  return FormatoExportacion::Ninguno;
}

ResultadoExportacion ExportarEmpresas(const QString& archivo) {
  return ExportarEmpresas(archivo, kPorPagina);
}

ResultadoExportacion ExportarEmpresas(const QString& archivo, int porPagina) {
  ResultadoExportacion r;
  const FormatoExportacion formato = FormatoDeArchivo(archivo);
  if (formato == FormatoExportacion::Ninguno) {
    r.error = QStringLiteral("%1: se exporta a .xlsx o a .csv; elija uno de esos nombres").arg(archivo);
    return r;
  }
  // The new file takes the old one's place only when complete.
  QSaveFile salida(archivo);
  if (!salida.open(QIODevice::WriteOnly)) {
    r.error = QStringLiteral("no se puede escribir %1: %2").arg(archivo, salida.errorString());
    return r;
  }
  std::unique_ptr<HojaExportada> hoja;
  try {
    const ado::ConnectionPtr cnn = DB_Dll::Instancia().gCnn();
    QVector<Columna> columnas = ColumnasDeLaTabla(cnn);
    hoja = formato == FormatoExportacion::Xlsx ? HojaXlsx() : HojaCsv(salida);
    Exportacion(*hoja, std::move(columnas), cnn, porPagina).Ejecutar(r);
    r.error = hoja->Terminar(salida);
  } catch (const std::exception& e) {
    r.error = QStringLiteral("no se pudo leer la tabla de empresas: ") + QString::fromUtf8(e.what());
  }
  hoja.reset();
  if (r.error.isEmpty() && !salida.commit())
    r.error = QStringLiteral("no se pudo escribir %1: %2").arg(archivo, salida.errorString());
  if (!r.error.isEmpty()) {
    salida.cancelWriting();
    return {0, r.error, 0};
  }
  // A CSV file holds every number as its digits.
  if (formato == FormatoExportacion::Csv) r.numerosComoTexto = 0;
  return r;
}
