#include "platform/db/CursorSqlite.h"

#include "platform/runtime/Texto.h"
#include "platform/db/ConexionSqlite.h"
#include "platform/runtime/ErrorSistema.h"

#include <QDate>
#include <QDateTime>

#include <sqlite3.h>

namespace platform::db {

CursorSqlite::CursorSqlite(ConexionSqlite& conexion, sqlite3_stmt* stmt, bool deCache,
                           const QString& tabla)
    : conexion_(conexion), stmt_(stmt), deCache_(deCache), tabla_(tabla) {
    const int n = sqlite3_column_count(stmt_);
    for (int i = tabla_.isEmpty() ? 0 : 1; i < n; ++i)
        columnas_ << QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

CursorSqlite::~CursorSqlite() {
    if (conexion_.Abierta()) conexion_.Devolver(stmt_, deCache_);
}

void CursorSqlite::Enlazar(sqlite3_stmt* stmt, int i, const Valor& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(stmt, i);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(stmt, i, v.toBool() ? -1 : 0);
        return;
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::LongLong: case QMetaType::ULongLong:
        sqlite3_bind_int64(stmt, i, v.toLongLong());
        return;
    case QMetaType::Double: case QMetaType::Float:
        sqlite3_bind_double(stmt, i, v.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(stmt, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDateTime: {
        const QByteArray t = runtime::FechaIso(v.toDateTime()).toUtf8();
        sqlite3_bind_text(stmt, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::QDate: {
        const QByteArray t = v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
        sqlite3_bind_text(stmt, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(stmt, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    }
    }
}

Valor CursorSqlite::Leer(sqlite3_stmt* stmt, int c) {
    switch (sqlite3_column_type(stmt, c)) {
    case SQLITE_NULL: return Nulo();
    case SQLITE_INTEGER: return Valor(static_cast<qlonglong>(sqlite3_column_int64(stmt, c)));
    case SQLITE_FLOAT: return Valor(sqlite3_column_double(stmt, c));
    case SQLITE_BLOB:
        return Valor(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, c)),
                                sqlite3_column_bytes(stmt, c)));
    default:
        return Valor(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                       sqlite3_column_bytes(stmt, c)));
    }
}

bool CursorSqlite::Siguiente(QList<Valor>& fila) {
    if (terminado_) return false;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        const int n = sqlite3_column_count(stmt_);
        const int desde = tabla_.isEmpty() ? 0 : 1;
        fila.resize(n - desde);
        for (int i = desde; i < n; ++i) fila[i - desde] = Leer(stmt_, i);
        if (desde) clave_ = Leer(stmt_, 0);
        return true;
    }
    terminado_ = true;
    if (rc != SQLITE_DONE) {
        const ErrorBaseDatos e = conexion_.ErrorActual(sqlite3_extended_errcode(conexion_.Db()));
        conexion_.Errors().Agregar(e);
        runtime::Lanzar(e.Number, e.Description, QStringLiteral("SQLite"));
    }
    return false;
}

void CursorSqlite::Escribir(const QString& sql, const QList<Valor>& valores) {
    conexion_.Errors().Clear();
    bool deCache = false;
    sqlite3_stmt* stmt = conexion_.Preparar(sql, deCache);
    for (int i = 0; i < valores.size(); ++i) Enlazar(stmt, i + 1, valores[i]);
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE) {
        const ErrorBaseDatos e = conexion_.ErrorActual(sqlite3_extended_errcode(conexion_.Db()));
        conexion_.Devolver(stmt, deCache);
        conexion_.Errors().Agregar(e);
        runtime::Lanzar(e.Number, e.Description, QStringLiteral("SQLite"));
    }
    conexion_.Devolver(stmt, deCache);
}

QList<Valor> CursorSqlite::Insertar(const QStringList& columnas, const QList<Valor>& valores) {
    if (tabla_.isEmpty()) return Cursor::Insertar(columnas, valores);
    QStringList marcas;
    for (qsizetype i = 0; i < columnas.size(); ++i) marcas << QStringLiteral("?");
    const QString sql = columnas.isEmpty()
        ? QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(tabla_)
        : QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (%3)")
              .arg(tabla_, columnas.join(QStringLiteral("\",\"")), marcas.join(QLatin1Char(',')));
    Escribir(sql, valores);
    clave_ = Valor(static_cast<qlonglong>(sqlite3_last_insert_rowid(conexion_.Db())));
    // Read the row back so defaults and identity columns are seen.
    QList<Valor> fila;
    bool deCache = false;
    sqlite3_stmt* stmt = conexion_.Preparar(
        QStringLiteral("SELECT * FROM \"%1\" WHERE rowid = ?").arg(tabla_), deCache);
    Enlazar(stmt, 1, clave_);
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        // Order by our column list: the cursor's names, matched without case.
        const int n = sqlite3_column_count(stmt);
        fila.resize(columnas_.size());
        for (int i = 0; i < n; ++i) {
            const QString nombre = QString::fromUtf8(sqlite3_column_name(stmt, i));
            for (qsizetype j = 0; j < columnas_.size(); ++j)
                if (columnas_[j].compare(nombre, Qt::CaseInsensitive) == 0) fila[j] = Leer(stmt, i);
        }
    }
    conexion_.Devolver(stmt, deCache);
    return fila;
}

void CursorSqlite::Modificar(const Valor& clave, const QStringList& columnas,
                             const QList<Valor>& valores) {
    if (tabla_.isEmpty()) return Cursor::Modificar(clave, columnas, valores);
    QStringList asignaciones;
    for (const QString& c : columnas) asignaciones << QStringLiteral("\"%1\" = ?").arg(c);
    QList<Valor> todos = valores;
    todos << clave;
    Escribir(QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = ?")
                 .arg(tabla_, asignaciones.join(QStringLiteral(", "))), todos);
}

}  // namespace platform::db
