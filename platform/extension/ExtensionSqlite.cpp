// recepcion_sqlite.so: lets any SQLite tool (the sqlite3 shell, Python,
// a backup script) read and write the embedded databases, whose text
// columns use the CI_AI collation. Registers what the program registers,
// from the program's own code.
#include "platform/db/ComparacionTexto.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

// SQLite derives this name from the file name recepcion_sqlite.so.
extern "C" __attribute__((visibility("default"))) int sqlite3_recepcionsqlite_init(
    sqlite3* db, char**, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    platform::db::RegistrarComparacion(db);
    return SQLITE_OK;
}
