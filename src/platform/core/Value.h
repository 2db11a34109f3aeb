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

// Whether the value holds a number of any width (not text that looks like one).
inline bool IsNumber(const Value& v) {
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
      return true;
    default:
      return false;
  }
}

}  // namespace ado
