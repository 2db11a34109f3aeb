#include "company/rules/FusionCambios.h"

#include <QByteArray>

bool MismoDato(const ado::Value& a, const ado::Value& b) {
  const bool nadaA = ado::IsNull(a) || ado::IsEmpty(a), nadaB = ado::IsNull(b) || ado::IsEmpty(b);
  if (nadaA || nadaB) {
    const ado::Value& otro = nadaA ? b : a;
    return (nadaA && nadaB) || otro.toString().isEmpty() && otro.toByteArray().isEmpty();
  }
  if (a.typeId() == QMetaType::QByteArray || b.typeId() == QMetaType::QByteArray)
    return a.toByteArray() == b.toByteArray();
  if (a.typeId() == QMetaType::Bool || b.typeId() == QMetaType::Bool) return a.toBool() == b.toBool();
  return a.toString() == b.toString();
}

FusionCambios::FusionCambios(std::vector<CampoComparado> campos)
    : campos_(std::move(campos)), tomados_(campos_.size(), false) {
  base_.reserve(campos_.size());
  for (const CampoComparado& c : campos_) base_.push_back(c.mostrado);
}

bool FusionCambios::CambioPropio(int i) const { return !MismoDato(campos_[i].pantalla, base_[i]); }

bool FusionCambios::CambioAjeno(int i) const { return !MismoDato(campos_[i].guardado, base_[i]); }

FusionCambios::Comparacion FusionCambios::Comparar(const std::vector<ado::Value>& guardados) {
  Comparacion r;
  for (int i = 0; i < static_cast<int>(campos_.size()); ++i) {
    CampoComparado& c = campos_[i];
    c.guardado = guardados.at(i);
    if (!CambioPropio(i) || MismoDato(c.pantalla, c.guardado)) continue;
    (CambioAjeno(i) ? r.choques : r.escribir).push_back(i);
  }
  return r;
}

void FusionCambios::Resolver(int campo, Eleccion eleccion) {
  CampoComparado& c = campos_.at(campo);
  if (eleccion == Eleccion::Ninguna) return;
  base_[campo] = c.guardado;
  if (eleccion == Eleccion::Guardada) c.pantalla = c.guardado;
  tomados_[campo] = eleccion == Eleccion::Guardada;
}

QStringList FusionCambios::Conservados() const {
  QStringList r;
  for (int i = 0; i < static_cast<int>(campos_.size()); ++i)
    if (tomados_[i] || (CambioAjeno(i) && !CambioPropio(i))) r << campos_[i].titulo;
  return r;
}
