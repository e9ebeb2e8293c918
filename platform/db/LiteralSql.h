#pragma once
// Text placed inside a quoted SQL literal: its apostrophes are doubled, so
// it can never close the literal and change the statement.
#include <QString>

namespace platform::db {

inline QString DoblarApostrofos(QString texto) {
    return texto.replace(QLatin1Char('\''), QStringLiteral("''"));
}

// The text as a quoted literal: 'it''s'.
inline QString LiteralTexto(const QString& texto) {
    return QLatin1Char('\'') + DoblarApostrofos(texto) + QLatin1Char('\'');
}

}  // namespace platform::db
