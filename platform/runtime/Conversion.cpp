#include "platform/runtime/Conversion.h"

#include "platform/runtime/ErrorSistema.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace platform::runtime {

namespace {
template <typename Entero>
Entero Redondear(double v) {
    double r = std::round(v);
    if (std::fabs(v - std::trunc(v)) == 0.5) r = 2.0 * std::round(v / 2.0);
    if (!std::isfinite(r) || r < std::numeric_limits<Entero>::min() ||
        r > std::numeric_limits<Entero>::max())
        Lanzar(Err::Desbordamiento);
    return static_cast<Entero>(r);
}
}  // namespace

double Val(const QString& texto) {
    QString t;
    for (const QChar c : texto)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')) t += c;
    static const QRegularExpression numero(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][+-]?\\d+)?"));
    const auto m = numero.match(t);
    if (!m.hasMatch()) return 0.0;
    QString n = m.captured(0);
    n.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    return n.toDouble();
}

std::int16_t CInt(double valor) { return Redondear<std::int16_t>(valor); }
std::int32_t CLng(double valor) { return Redondear<std::int32_t>(valor); }

qsizetype Entero16(qsizetype valor) {
    if (valor > 32767 || valor < -32768) Lanzar(Err::Desbordamiento);
    return valor;
}

}  // namespace platform::runtime
