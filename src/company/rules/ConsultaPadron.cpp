#include "company/rules/ConsultaPadron.h"

#include <QDateTime>
#include <memory>

#include "company/rules/CompletitudEmpresa.h"
#include "db/DB_Dll.h"
#include "platform/client/Recordset.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

namespace ConsultaPadron {

const QString kTabla = QStringLiteral("MA_PADRON_AFIP");
const QString kTablaDatos = QStringLiteral("MA_PADRON_AFIP_DATOS");

namespace {

constexpr int kDigitos = 11;

ado::ConnectionPtr Conexion(const ado::ConnectionPtr& cnn) { return cnn ? cnn : DB_Dll::Instancia().gCnn(); }

// What was learnt of the register, for the connection it was learnt on.
struct Sabido {
  std::weak_ptr<ado::Connection> conexion;
  std::optional<QDate> fecha;
};
std::optional<Sabido>& Cache() {
  static std::optional<Sabido> cache;
  return cache;
}

// A date column reaches here as a date, or as the text an engine keeps it in.
QDate FechaDe(const ado::Value& v) {
  if (v.typeId() == QMetaType::QDate) return v.toDate();
  if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
  const QString t = v.toString().trimmed();
  for (const char* formato : {"yyyy-MM-dd", "yyyyMMdd", "dd/MM/yyyy"}) {
    const QDate d = QDate::fromString(t.left(QString::fromLatin1(formato).size()), QLatin1String(formato));
    if (d.isValid()) return d;
  }
  return {};
}

// The key as the register stores it: the number, which every engine reads
// from its text (compared with a plain column, the text is left alone on the
// way to the engine, so the key's index is used).
QString Clave(const QString& digitos) { return QLatin1Char('\'') + digitos + QLatin1Char('\''); }

bool SonDigitos(const QString& t) {
  if (t.size() != kDigitos) return false;
  for (const QChar c : t)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

QString DigitosDe(const ado::Value& v) {
  const QString t = ado::IsNumber(v) ? QString::number(v.toLongLong()) : v.toString().trimmed();
  return t.rightJustified(kDigitos, QLatin1Char('0'));
}

InscripcionPadron Leer(ado::Recordset& rs) {
  auto& u = Utilidades::Compartido();
  auto texto = [&](const char* c) {
    return u.NuloATexto(rs.Fields(QString::fromLatin1(c)).GetValue()).trimmed();
  };
  return {DigitosDe(rs.Fields(QStringLiteral("CUIT")).GetValue()),
          texto("DENOMINACION"),
          texto("GANANCIAS"),
          texto("IVA"),
          texto("MONOTRIBUTO"),
          texto("SOCIEDAD"),
          texto("EMPLEADOR"),
          texto("ACTIVIDAD")};
}

QString Columnas() {
  return QStringLiteral(
      "SELECT CUIT, DENOMINACION, GANANCIAS, IVA, MONOTRIBUTO, SOCIEDAD, EMPLEADOR, ACTIVIDAD FROM ");
}

}  // namespace

std::optional<QDate> Fecha(const ado::ConnectionPtr& cnn) {
  const ado::ConnectionPtr conexion = Conexion(cnn);
  std::optional<Sabido>& cache = Cache();
  if (cache && cache->conexion.lock() == conexion) return cache->fecha;
  std::optional<QDate> fecha;
  trampa::IgnorarErrores({[&] {
    LeerConsulta(
        QStringLiteral("SELECT TOP 1 FECHA_PADRON FROM ") + kTablaDatos, conexion,
        [&](ado::Recordset& rs) { fecha = FechaDe(rs.Fields(QStringLiteral("FECHA_PADRON")).GetValue()); });
  }});
  // The missing table is an answer, not an error for the next statement to find.
  if (conexion) conexion->Errors().Clear();
  cache = Sabido{conexion, fecha};
  return fecha;
}

bool HayPadron(const ado::ConnectionPtr& cnn) { return Fecha(cnn).has_value(); }

std::optional<InscripcionPadron> Buscar(const QString& digitos, const ado::ConnectionPtr& cnn) {
  if (!SonDigitos(digitos)) return std::nullopt;
  std::optional<InscripcionPadron> fila;
  LeerConsulta(Columnas() + kTabla + QStringLiteral(" WHERE CUIT = ") + Clave(digitos), Conexion(cnn),
               [&](ado::Recordset& rs) { fila = Leer(rs); });
  return fila;
}

QHash<QString, QString> NombresEnPadron(const QStringList& digitos, const ado::ConnectionPtr& cnn) {
  QHash<QString, QString> nombres;
  QStringList claves;
  for (const QString& d : digitos)
    if (SonDigitos(d)) claves << Clave(d);
  if (claves.isEmpty()) return nombres;
  claves.removeDuplicates();
  auto& u = Utilidades::Compartido();
  LeerConsulta(QStringLiteral("SELECT CUIT, DENOMINACION FROM ") + kTabla +
                   QStringLiteral(" WHERE CUIT IN (") + claves.join(QLatin1Char(',')) + QLatin1Char(')'),
               Conexion(cnn), [&](ado::Recordset& rs) {
                 nombres.insert(DigitosDe(rs.Fields(QStringLiteral("CUIT")).GetValue()),
                                u.NuloATexto(rs.Fields(QStringLiteral("DENOMINACION")).GetValue()).trimmed());
               });
  return nombres;
}

QString FechaTexto(const QDate& fecha) {
  return fecha.isValid() ? QStringLiteral("del ") + fecha.toString(QStringLiteral("dd/MM/yyyy"))
                         : QStringLiteral("sin fecha");
}

}  // namespace ConsultaPadron
