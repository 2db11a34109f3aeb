#pragma once
// The dynamically typed value of fields, optional arguments and lookup results.
// Empty (never assigned) and Null (a database NULL) are distinct states.
#include <QVariant>
#include <cstddef>

namespace ado {

using Value = QVariant;

inline Value Empty() { return QVariant(); }
inline Value Null() { return QVariant::fromValue(nullptr); }
inline bool IsEmpty(const Value& v) { return !v.isValid(); }
inline bool IsNull(const Value& v) { return v.isValid() && v.typeId() == QMetaType::Nullptr; }

}  // namespace ado
