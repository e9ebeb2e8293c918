#include "platform/db/DescripcionSqlite.h"

#include <sqlite3.h>

namespace platform::db {

namespace {
// By primary result code; the extended codes only add detail to these.
QString Descripcion(int primario) {
    switch (primario) {
    case SQLITE_ERROR: return QStringLiteral("Error en la instrucción SQL");
    case SQLITE_INTERNAL: return QStringLiteral("Error interno del motor de base de datos");
    case SQLITE_PERM: return QStringLiteral("Permiso denegado");
    case SQLITE_ABORT:
    case SQLITE_INTERRUPT: return QStringLiteral("La operación se interrumpió");
    case SQLITE_BUSY: return QStringLiteral("La base de datos está ocupada por otro proceso");
    case SQLITE_LOCKED: return QStringLiteral("Una tabla de la base de datos está bloqueada");
    case SQLITE_NOMEM: return QStringLiteral("No hay memoria suficiente");
    case SQLITE_READONLY: return QStringLiteral("La base de datos es de solo lectura");
    case SQLITE_IOERR: return QStringLiteral("Error de lectura o escritura en el disco");
    case SQLITE_CORRUPT: return QStringLiteral("El archivo de la base de datos está dañado");
    case SQLITE_FULL: return QStringLiteral("El disco está lleno");
    case SQLITE_CANTOPEN: return QStringLiteral("No se puede abrir el archivo de la base de datos");
    case SQLITE_PROTOCOL: return QStringLiteral("Error en el protocolo de bloqueo de la base de datos");
    case SQLITE_SCHEMA: return QStringLiteral("Las tablas cambiaron mientras se preparaba la instrucción");
    case SQLITE_TOOBIG: return QStringLiteral("El texto o el dato es demasiado grande");
    case SQLITE_CONSTRAINT: return QStringLiteral("La instrucción está en conflicto con una restricción");
    case SQLITE_MISMATCH: return QStringLiteral("No coinciden los tipos de datos");
    case SQLITE_MISUSE: return QStringLiteral("Uso incorrecto del motor de base de datos");
    case SQLITE_NOLFS: return QStringLiteral("El sistema no admite archivos tan grandes");
    case SQLITE_AUTH: return QStringLiteral("Acceso no autorizado");
    case SQLITE_RANGE: return QStringLiteral("Parámetro fuera del intervalo");
    case SQLITE_NOTADB: return QStringLiteral("El archivo no es una base de datos");
    default: return QStringLiteral("Error de la base de datos");
    }
}
}  // namespace

QString DetalleMotor(int codigo, const QString& textoMotor) {
    const QString nativo = textoMotor.trimmed();
    // The engine's generic text for the code ("database or disk is full")
    // says nothing the Spanish description does not.
    if (nativo.isEmpty() || nativo == QString::fromUtf8(sqlite3_errstr(codigo)) ||
        nativo == QString::fromUtf8(sqlite3_errstr(codigo & 0xff)))
        return {};
    return QStringLiteral(" (%1)").arg(nativo);
}

QString DescripcionSqlite(int codigo, const QString& textoMotor) {
    return Descripcion(codigo & 0xff) + DetalleMotor(codigo, textoMotor);
}

}  // namespace platform::db
