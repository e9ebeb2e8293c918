#pragma once
// Text placed inside a quoted SQL literal: its apostrophes are doubled, so
// it can never close the literal and change the statement; inside a LIKE
// pattern its wildcards are escaped too.
#include <QString>

namespace platform::db {

inline QString DoblarApostrofos(QString texto) {
    return texto.replace(QLatin1Char('\''), QStringLiteral("''"));
}

// The text as a quoted literal: 'it''s'.
inline QString LiteralTexto(const QString& texto) {
    return QLatin1Char('\'') + DoblarApostrofos(texto) + QLatin1Char('\'');
}

// Text that a LIKE pattern must match as written: "%", "_" and "[" in
// brackets, SQL Server's way ("50%" -> "50[%]"). Apostrophes still need
// doubling.
inline QString SinComodines(const QString& texto) {
    QString salida;
    salida.reserve(texto.size());
    for (const QChar c : texto) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('['))
            salida += QLatin1Char('[') + c + QLatin1Char(']');
        else
            salida += c;
    }
    return salida;
}

}  // namespace platform::db
