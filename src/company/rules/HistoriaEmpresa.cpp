#include "company/rules/HistoriaEmpresa.h"

#include <QCryptographicHash>
#include <QDateTime>

#include "company/rules/CamposEmpresa.h"
#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/client/Recordset.h"
#include "platform/services/Entorno.h"
#include "platform/services/Trampa.h"

const QString HistoriaEmpresa::kTabla = QStringLiteral("MA_EMPRESAS_HISTORIA");

namespace {

// The widths of the table's text columns (sql/MA_EMPRESAS_HISTORIA.*.sql).
constexpr int kLargoNombre = 128;
int LargoValor(ado::Dialect motor) { return motor == ado::Dialect::Oracle ? 2000 : 4000; }

// The code is compared with a VARCHAR column: a national literal would keep
// SQL Server from using its index.
enum class Texto { Nacional, Simple };

QString Literal(const ado::Value& v, int largo, Texto t = Texto::Nacional) {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return QStringLiteral("NULL");
  return (t == Texto::Nacional ? QStringLiteral("N'") : QStringLiteral("'")) +
         DuplicarApostrofes(v.toString().left(largo)) + QLatin1Char('\'');
}

QChar Letra(OperacionHistoria o) {
  switch (o) {
    case OperacionHistoria::Alta:
      return u'A';
    case OperacionHistoria::Modificacion:
      return u'M';
    case OperacionHistoria::Baja:
      return u'B';
  }
  return u'M';
}

QString NombreOperacion(const QString& letra) {
  if (letra.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0) return QStringLiteral("Alta");
  if (letra.compare(QLatin1String("B"), Qt::CaseInsensitive) == 0) return QStringLiteral("Baja");
  return QStringLiteral("Modificación");
}

// A column of the form's as the form spells it, whatever letter case the engine
// reports (PostgreSQL's are lower case); any other as it came.
QString NombreColumna(const QString& columna) {
  for (const CampoEmpresa& c : kTablaCampos)
    if (columna.compare(QLatin1String(c.columna), Qt::CaseInsensitive) == 0)
      return QString::fromLatin1(c.columna);
  for (const char* fija : {"Imagen", "PideHonorarios"})
    if (columna.compare(QLatin1String(fija), Qt::CaseInsensitive) == 0) return QString::fromLatin1(fija);
  return columna;
}

// The field's caption on the form where it has one.
QString NombreCampo(const QString& columna) {
  for (const CampoEmpresa& c : kTablaCampos)
    if (columna.compare(QLatin1String(c.columna), Qt::CaseInsensitive) == 0) {
      QString e = QString::fromLatin1(c.etiqueta);
      if (e.endsWith(QLatin1Char(':'))) e.chop(1);
      return e;
    }
  if (columna.compare(QLatin1String("Imagen"), Qt::CaseInsensitive) == 0) return QStringLiteral("Logo");
  if (columna.compare(QLatin1String("PideHonorarios"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Pedir Honorarios");
  if (columna.startsWith(QLatin1String("P_"), Qt::CaseInsensitive)) return columna.mid(2);
  return columna;
}

QString TextoDe(const ado::Value& v) { return ado::IsNull(v) || ado::IsEmpty(v) ? QString() : v.toString(); }

QString Momento(const ado::Value& v) {
  const QDateTime m = v.toDateTime();
  return m.isValid() ? m.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : TextoDe(v);
}

// A picture's text with the beginning of its hash, enough to tell two apart.
QString ConHash(const ado::Value& texto, const ado::Value& hash) {
  const QString h = TextoDe(hash);
  return h.isEmpty() ? TextoDe(texto) : TextoDe(texto) + QLatin1Char(' ') + h.left(12);
}

}  // namespace

ValorHistoria ValorParaHistoria(const ado::Value& v) {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return {ado::Null(), ado::Null()};
  if (v.typeId() == QMetaType::QByteArray) {
    const QByteArray b = v.toByteArray();
    if (b.isEmpty()) return {ado::Null(), ado::Null()};
    return {QStringLiteral("(imagen, %1 bytes)").arg(b.size()),
            QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex())};
  }
  if (v.typeId() == QMetaType::Bool)
    return {v.toBool() ? QStringLiteral("Sí") : QStringLiteral("No"), ado::Null()};
  if (v.typeId() == QMetaType::QDateTime)
    return {v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), ado::Null()};
  // As stored, blanks included (short text columns hold their values right-aligned),
  // so that replaying the history gives the table back.
  const QString t = v.toString();
  if (t.trimmed().isEmpty()) return {ado::Null(), ado::Null()};
  return {t, ado::Null()};
}

bool HistoriaEmpresa::Disponible(ado::Connection& cnn) {
  if (disponible_) return *disponible_;
  bool existe = false;
  trampa::IgnorarErrores({[&] {
    cnn.Execute(QStringLiteral("SELECT COUNT(*) FROM ") + kTabla + QStringLiteral(" WHERE 1 = 0"));
    existe = true;
  }});
  cnn.Errors().Clear();
  disponible_ = existe;
  return existe;
}

void HistoriaEmpresa::Escribir(ado::Connection& cnn, const QString& codigo15, OperacionHistoria operacion,
                               const QVector<CambioEmpresa>& cambios) {
  if (cambios.isEmpty()) return;
  const QString comun =
      QStringLiteral("(") + Literal(DB_Dll::Instancia().gUsuario, kLargoNombre) + QStringLiteral(", ") +
      Literal(Entorno::Compartido().PrimerIdentificador(), kLargoNombre) + QStringLiteral(", ") +
      Literal(codigo15, 15, Texto::Simple) + QStringLiteral(", '") + Letra(operacion) + QStringLiteral("', ");
  const int largo = LargoValor(cnn.GetDialect());
  QStringList filas;
  for (const CambioEmpresa& c : cambios) {
    const ValorHistoria antes = ValorParaHistoria(c.antes);
    const ValorHistoria despues = ValorParaHistoria(c.despues);
    filas << comun + Literal(NombreColumna(c.columna), kLargoNombre) + QStringLiteral(", ") +
                 Literal(antes.texto, largo) + QStringLiteral(", ") + Literal(despues.texto, largo) +
                 QStringLiteral(", ") + Literal(antes.hash, 64) + QStringLiteral(", ") +
                 Literal(despues.hash, 64) + QLatin1Char(')');
  }
  const QString insertar = QStringLiteral("INSERT INTO ") + kTabla +
                           QStringLiteral(
                               " (Usuario, Estacion, IdEmpresa, Operacion, Columna, ValorAnterior, "
                               "ValorNuevo, HashAnterior, HashNuevo) VALUES ");
  // Oracle takes one row per INSERT; the others take all of them at once.
  if (cnn.GetDialect() == ado::Dialect::Oracle) {
    for (const QString& f : filas) cnn.Execute(insertar + f);
  } else {
    cnn.Execute(insertar + filas.join(QStringLiteral(", ")));
  }
}

DialogoHistoria HistoriaEmpresa::Leer(const ado::ConnectionPtr& cnn, const QString& codigo15) {
  DialogoHistoria d;
  ado::Recordset rs;
  rs.Open(QStringLiteral("SELECT Momento, Usuario, Estacion, Operacion, Columna, ValorAnterior, ValorNuevo, "
                         "HashAnterior, HashNuevo FROM ") +
              kTabla + QStringLiteral(" WHERE IdEmpresa = ") + Literal(codigo15, 15, Texto::Simple) +
              QStringLiteral(" ORDER BY Momento DESC, Id DESC"),
          cnn, ado::adOpenForwardOnly, ado::adLockReadOnly);
  for (; !rs.Eof(); rs.MoveNext()) {
    const auto valor = [&](const char* c) { return rs.Fields(QLatin1String(c)).GetValue(); };
    d.filas.push_back({Momento(valor("Momento")), TextoDe(valor("Usuario")), TextoDe(valor("Estacion")),
                       NombreOperacion(TextoDe(valor("Operacion"))), NombreCampo(TextoDe(valor("Columna"))),
                       ConHash(valor("ValorAnterior"), valor("HashAnterior")),
                       ConHash(valor("ValorNuevo"), valor("HashNuevo"))});
  }
  rs.Close();
  return d;
}
