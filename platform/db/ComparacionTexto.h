#pragma once
// Text comparison as the product's database does it: without regard to
// case or accents ("ALMACÉN" equals "almacen"). Registered in SQLite as the
// collation CI_AI and as the LIKE operator.
#include <QString>

struct sqlite3;

namespace platform::db {

// The form two texts are compared in: accents removed, case folded.
QString FormaComparable(const QString& texto);
// LIKE with %, _ and SQL Server's bracket classes ([%] a literal %, [a-f],
// [^x]), and an optional escape character, on comparable forms.
bool CoincideLike(const QString& texto, const QString& patron, QChar escape = QChar());

// Installs the collation and the functions on one SQLite connection; the
// loadable extension (platform/extension) installs the same for other tools.
void RegistrarComparacion(sqlite3* db);

}  // namespace platform::db
