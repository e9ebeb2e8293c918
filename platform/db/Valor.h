#pragma once
// A field value. An invalid QVariant stands for Null, which is not "".
#include <QVariant>

namespace platform::db {

using Valor = QVariant;

inline Valor Nulo() { return QVariant(); }
inline bool EsNulo(const Valor& v) { return !v.isValid() || v.isNull(); }

}  // namespace platform::db
