#include "company/rules/CambiosEmpresa.h"

#include "platform/client/Recordset.h"

namespace {

bool Vacio(const ado::Value& v) {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return true;
  if (v.typeId() == QMetaType::QByteArray) return v.toByteArray().isEmpty();
  return v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty();
}

bool Igual(const ado::Value& a, const ado::Value& b) {
  if (Vacio(a) || Vacio(b)) return Vacio(a) == Vacio(b);
  if (a.typeId() == QMetaType::QByteArray || b.typeId() == QMetaType::QByteArray)
    return a.toByteArray() == b.toByteArray();
  if (a.toString().trimmed() == b.toString().trimmed()) return true;
  bool na = false, nb = false;
  const double da = a.toDouble(&na), dbl = b.toDouble(&nb);
  return na && nb && da == dbl;
}

}  // namespace

QVector<CambioEmpresa> CambiosEmpresa(const QStringList& columnas, const QVector<ado::Value>& antes,
                                      const QVector<ado::Value>& despues) {
  QVector<CambioEmpresa> cambios;
  for (int i = 0; i < columnas.size() && i < despues.size(); ++i) {
    const ado::Value previo = i < antes.size() ? antes[i] : ado::Null();
    if (!Igual(previo, despues[i])) cambios.push_back({columnas[i], previo, despues[i]});
  }
  return cambios;
}

QStringList ColumnasDeFila(ado::Recordset& rs) {
  QStringList c;
  for (int i = 0; i < rs.FieldCount(); ++i) c << rs.Fields(i).Name();
  return c;
}

QVector<ado::Value> ValoresDeFila(ado::Recordset& rs) {
  QVector<ado::Value> v;
  for (int i = 0; i < rs.FieldCount(); ++i) v << rs.Fields(i).GetValue();
  return v;
}
