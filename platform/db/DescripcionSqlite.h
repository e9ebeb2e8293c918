#pragma once
// The embedded engine's failures in the operator's language: a Spanish
// description for each SQLite result code, the engine's own text after it
// (in parentheses) for whoever supports the installation, when it says more
// than the code's generic English text.
#include <QString>

namespace platform::db {

QString DescripcionSqlite(int codigo, const QString& textoMotor);

// " (engine text)", or nothing when the engine only repeats its generic text.
QString DetalleMotor(int codigo, const QString& textoMotor);

}  // namespace platform::db
