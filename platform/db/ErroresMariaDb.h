#pragma once
// MariaDB's error numbers given as the SQL Server ones the program tests,
// the way the embedded engine gives SQLite's.
#include "platform/db/Errores.h"

namespace platform::db {

ErrorBaseDatos ErrorMariaDb(long nativo, const QString& mensaje);

}  // namespace platform::db
