#pragma once
// Number conversions as the old runtime made them.
#include <QString>

#include <cstdint>

namespace platform::runtime {

// Val(): the number the text begins with. Blanks, tabs and line feeds are
// skipped anywhere, "." is the separator, 0 when there is none.
double Val(const QString& texto);

// CInt() and CLng(): rounded to the nearest integer, halves to the even
// neighbour; overflow (6) when the result does not fit.
std::int16_t CInt(double valor);
std::int32_t CLng(double valor);

// A position or bound the old runtime kept in a 16-bit integer: overflow (6)
// outside -32768..32767, the value itself otherwise.
qsizetype Entero16(qsizetype valor);

}  // namespace platform::runtime
