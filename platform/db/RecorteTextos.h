#pragma once
// A server refuses text longer than its column; the embedded database keeps
// it whole. Text the program writes into a server table is cut to the
// column's declared size instead, so one long header cannot fail an insert
// at every import.
#include <QString>

#include <functional>

namespace platform::db {

// Declared size of a text column in characters; 0 or less: no limit.
using TamanoColumna = std::function<long(const QString& tabla, const QString& columna)>;

// The text cut to n characters, never through the middle of a surrogate pair.
QString Recortar(const QString& texto, long n);

// The statement with each text literal written into a sized column cut to
// it: INSERT INTO t (cols) VALUES (…)[, (…)] and UPDATE t SET c = '…', ….
// Any other statement comes back as it is.
QString RecortarLiterales(const QString& sentencia, const TamanoColumna& tamano);

// "[dbo].[T]", "\"T\"" or "T" -> "T".
QString NombreSimple(const QString& nombre);

}  // namespace platform::db
