#pragma once
// The embedded engine's failures in the operator's language: a Spanish
// description for each SQLite result code, the engine's own text after it
// (in parentheses) for whoever supports the installation.
#include <QString>

namespace platform::db {

QString DescripcionSqlite(int codigo, const QString& textoMotor);

}  // namespace platform::db
