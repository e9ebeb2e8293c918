#pragma once
// Text helpers every layer uses the same way.
#include <QDateTime>
#include <QString>

namespace platform::runtime {

// Equality with a literal of the source (UTF-8), without regard to case,
// as every comparison of the system is made.
inline bool IgualSinCaso(const QString& texto, const char* literal) {
    return texto.compare(QString::fromUtf8(literal), Qt::CaseInsensitive) == 0;
}

}  // namespace platform::runtime

namespace platform::runtime {

// A date and time as the databases store it: "2026-12-11T09:30:00", local
// time, no fraction and no zone.
inline QString FechaIso(const QDateTime& momento) {
    return momento.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

}  // namespace platform::runtime
