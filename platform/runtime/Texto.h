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

namespace platform::runtime {

// The control characters: C0, DEL and C1.
inline bool EsControl(QChar c) { return c.category() == QChar::Other_Control; }

// A control character or a Unicode line or paragraph break: what must never
// end a header line or an address.
inline bool EsControlOSalto(QChar c) {
    return EsControl(c) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// What shows nothing on screen: controls, format characters and breaks.
inline bool EsInvisible(QChar c) {
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return true;
    default: return false;
    }
}

}  // namespace platform::runtime
