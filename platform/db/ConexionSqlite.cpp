#include "platform/db/ConexionSqlite.h"

#include "platform/db/ComparacionTexto.h"
#include "platform/db/CursorSqlite.h"
#include "platform/db/DescripcionSqlite.h"
#include "platform/db/DialectoSqlServer.h"
#include "platform/runtime/ErrorSistema.h"

#include <QFile>
#include <QRegularExpression>

#include <sqlite3.h>

namespace platform::db {

namespace {
constexpr int TamanoCache = 64;

QString Mensaje(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("sin memoria");
}

// "no such table: X" -> "X"
QString Tras(const QString& mensaje, const QString& prefijo) {
    return mensaje.mid(mensaje.indexOf(prefijo) + prefijo.size()).trimmed();
}

// The table of a single-table SELECT: the word after the first FROM.
QString TablaDeSelect(const QString& sql) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*select\\b.*?\\bfrom\\s+([A-Za-z0-9_\\.\\[\\]\"]+)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(sql);
    if (!m.hasMatch()) return {};
    QString t = m.captured(1);
    t.remove(QLatin1Char('[')).remove(QLatin1Char(']')).remove(QLatin1Char('"'));
    return t.section(QLatin1Char('.'), -1);
}
}  // namespace

ConexionSqlite::ConexionSqlite(const QString& archivo, const QString& base,
                               const ProveedorEsquema& esquema, long tiempoEspera)
    : archivo_(archivo) {
    tiempoEspera_ = tiempoEspera;
    // A database file is never removed, not even one this call created: another
    // program started at the same moment may already be using it.
    const auto fallar = [&](const QString& motivo) {
        if (db_) sqlite3_close_v2(db_);
        db_ = nullptr;
        runtime::Lanzar(runtime::Err::ErrorNoEspecificado,
                        QStringLiteral("No se pudo abrir la base de datos %1 (%2): %3")
                            .arg(base, archivo, motivo));
    };
    const auto ejecutar = [&](const char* sql) {
        char* error = nullptr;
        const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &error);
        if (rc != SQLITE_OK) {
            const QString motivo = DescripcionSqlite(rc, QString::fromUtf8(error ? error : ""));
            sqlite3_free(error);
            fallar(motivo);
        }
    };
    const int banderas = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (const int rc = sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db_, banderas, nullptr);
        rc != SQLITE_OK)
        fallar(DescripcionSqlite(rc, Mensaje(db_)));
    sqlite3_extended_result_codes(db_, 1);
    SetCommandTimeout(tiempoEspera);
    RegistrarComparacion(db_);
    // The schema is given under an exclusive lock to a file that has no table
    // yet: a new file, a 0-byte one, one left by a crash in the first start.
    // Programs started together wait here for the first, then find it built.
    const QString sql = esquema ? esquema(base) : QString();
    if (!sql.trimmed().isEmpty()) {
        ejecutar("BEGIN EXCLUSIVE");
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db_, "SELECT COUNT(*) FROM sqlite_master", -1, &stmt, nullptr);
        if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
        const bool vacia = rc == SQLITE_ROW && sqlite3_column_int(stmt, 0) == 0;
        sqlite3_finalize(stmt);
        if (rc != SQLITE_ROW) {
            const QString motivo = DescripcionSqlite(sqlite3_extended_errcode(db_), Mensaje(db_));
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            fallar(motivo);
        }
        if (vacia) {
            try {
                CrearDesdeEsquema(sql);
            } catch (const runtime::ErrorSistema& e) {
                sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
                fallar(e.Descripcion);
            }
        }
        ejecutar("COMMIT");
        creada_ = vacia;
    }
    // WAL lets the product read the tables while an import writes; the first
    // statement also tells a file that is not a database.
    // Switching to WAL does not wait on a lock held by a program starting at
    // the same moment: try again for a while before giving up.
    for (int intento = 0;; ++intento) {
        const int rc = sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if ((rc & 0xff) != SQLITE_BUSY || intento >= 200) break;
        sqlite3_sleep(25);
    }
    ejecutar("PRAGMA journal_mode=WAL");
    // In WAL mode NORMAL keeps the file sound after a crash without a disk
    // flush at every insert; at worst the last few rows are written again.
    sqlite3_exec(db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
}

ConexionSqlite::~ConexionSqlite() { Close(); }

// Inside the caller's transaction.
void ConexionSqlite::CrearDesdeEsquema(const QString& esquema) {
    const QByteArray sql = esquema.toUtf8();
    char* error = nullptr;
    if (const int rc = sqlite3_exec(db_, sql.constData(), nullptr, nullptr, &error); rc != SQLITE_OK) {
        const QString motivo = DescripcionSqlite(rc, QString::fromUtf8(error ? error : ""));
        sqlite3_free(error);
        runtime::Lanzar(runtime::Err::ErrorNoEspecificado, QStringLiteral("al crear las tablas: %1").arg(motivo));
    }
}

void ConexionSqlite::Close() {
    for (auto& e : cache_) sqlite3_finalize(e.stmt);
    cache_.clear();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void ConexionSqlite::SetCommandTimeout(long segundos) {
    Conexion::SetCommandTimeout(segundos);
    // 0 meant "wait for ever"; a minute is the longest we let a lock hold us.
    const long ms = segundos <= 0 ? 60000 : segundos * 1000;
    if (db_) sqlite3_busy_timeout(db_, static_cast<int>(std::min<long>(ms, 600000)));
}

void ConexionSqlite::ExigirAbierta() const {
    if (!db_) runtime::Lanzar(runtime::Err::ObjetoCerrado);
}

ErrorBaseDatos ConexionSqlite::ErrorActual(int rc) const {
    const QString m = Mensaje(db_);
    ErrorBaseDatos e;
    switch (rc) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return {Nativo::ClaveDuplicada,
                QStringLiteral("Infracción de la restricción UNIQUE KEY. No se puede insertar una "
                               "clave duplicada (%1).").arg(m)};
    case SQLITE_CONSTRAINT_FOREIGNKEY:
    case SQLITE_CONSTRAINT_CHECK:
        return {Nativo::ConflictoRestriccion,
                QStringLiteral("La instrucción está en conflicto con una restricción (%1).").arg(m)};
    case SQLITE_CONSTRAINT_NOTNULL:
        return {Nativo::ValorNulo, QStringLiteral("No se puede insertar el valor NULL (%1).").arg(m)};
    default: break;
    }
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        return {Nativo::TiempoBloqueo, QStringLiteral("Se superó el tiempo de espera del bloqueo%1.").arg(DetalleMotor(rc, m))};
    if ((rc & 0xff) == SQLITE_READONLY)
        return {Nativo::SoloLectura, QStringLiteral("La base de datos es de solo lectura%1.").arg(DetalleMotor(rc, m))};
    // The operator must know which disk to free.
    if ((rc & 0xff) == SQLITE_FULL)
        return {rc, QStringLiteral("No cabe más en la base de datos %1: el disco está lleno o la base "
                                    "llegó a su tamaño máximo.").arg(archivo_)};
    if (m.contains(QStringLiteral("no such table")))
        return {Nativo::ObjetoNoValido, QStringLiteral("El nombre de objeto '%1' no es válido.")
                                            .arg(Tras(m, QStringLiteral("no such table:")))};
    if (m.contains(QStringLiteral("no such column")))
        return {Nativo::ColumnaNoValida, QStringLiteral("El nombre de columna '%1' no es válido.")
                                             .arg(Tras(m, QStringLiteral("no such column:")))};
    if (m.contains(QStringLiteral("has no column named")))
        return {Nativo::ColumnaNoValida, QStringLiteral("El nombre de columna '%1' no es válido.")
                                             .arg(Tras(m, QStringLiteral("has no column named")))};
    if (m.contains(QStringLiteral("syntax error")) || m.contains(QStringLiteral("incomplete input")))
        return {Nativo::Sintaxis, QStringLiteral("Sintaxis incorrecta (%1).").arg(m)};
    return {rc, DescripcionSqlite(rc, m)};
}

sqlite3_stmt* ConexionSqlite::Preparar(const QString& sql, bool& deCache) {
    auto it = cache_.find(sql);
    if (it != cache_.end() && !it->enUso) {
        it->enUso = true;
        deCache = true;
        return it->stmt;
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_, utf8.constData(), static_cast<int>(utf8.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        const ErrorBaseDatos e = ErrorActual(sqlite3_extended_errcode(db_));
        errores_.Agregar(e);
        runtime::Lanzar(e.Number, e.Description, QStringLiteral("SQLite"));
    }
    deCache = it == cache_.end() && cache_.size() < TamanoCache && stmt;
    if (deCache) cache_.insert(sql, {stmt, true});
    return stmt;
}

void ConexionSqlite::Devolver(sqlite3_stmt* stmt, bool deCache) {
    if (!stmt) return;
    if (!deCache) {
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    for (auto& e : cache_)
        if (e.stmt == stmt) e.enUso = false;
}

void ConexionSqlite::Ejecutar(const QString& sql) {
    ExigirAbierta();
    errores_.Clear();
    for (const QString& sentencia : TraducirLote(sql)) {
        const QString verbo = PrimeraPalabra(sentencia);
        if (verbo == QLatin1String("EXEC") || verbo == QLatin1String("EXECUTE")) {
            // No stored procedures here; answer as the server does for an unknown one.
            const QString nombre = sentencia.section(QLatin1Char(' '), 1, 1, QString::SectionSkipEmpty);
            errores_.Agregar({Nativo::ProcedimientoNoEncontrado,
                              QStringLiteral("No se encontró el procedimiento almacenado '%1'.").arg(nombre)});
            continue;
        }
        const QByteArray utf8 = sentencia.toUtf8();
        const bool enTransaccion = !sqlite3_get_autocommit(db_);
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr);
        if (rc == SQLITE_OK && stmt) {
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {}
            if (rc == SQLITE_DONE) rc = SQLITE_OK;
        }
        if (rc != SQLITE_OK) errores_.Agregar(ErrorActual(sqlite3_extended_errcode(db_)));
        sqlite3_finalize(stmt);
        // A failure that made the engine end the transaction itself (disk
        // full, a ROLLBACK conflict clause) stops the batch, as the server
        // does: the rest would otherwise be committed outside it.
        if (rc != SQLITE_OK && enTransaccion && sqlite3_get_autocommit(db_)) break;
    }
}

std::unique_ptr<Cursor> ConexionSqlite::AbrirCursor(const QString& sql, const QList<Valor>& parametros,
                                                    bool actualizable) {
    ExigirAbierta();
    errores_.Clear();
    auto t = traducciones_.constFind(sql);
    if (t == traducciones_.cend()) {
        QStringList traducida = TraducirLote(sql);
        if (traducciones_.size() >= TamanoCache) traducciones_.clear();
        t = traducciones_.insert(sql, std::move(traducida));
    }
    const QStringList sentencias = *t;
    if (sentencias.isEmpty())
        runtime::Lanzar(runtime::Err::ComandoNoValido, QStringLiteral("La consulta está vacía."));
    QString sentencia = sentencias.last();
    for (qsizetype i = 0; i + 1 < sentencias.size(); ++i) Ejecutar(sentencias[i]);
    QString tabla;
    if (actualizable) {
        tabla = TablaDeSelect(sentencia);
        if (!tabla.isEmpty()) {
            const qsizetype p = sentencia.indexOf(QStringLiteral("select"), 0, Qt::CaseInsensitive);
            sentencia.insert(p + 6, QStringLiteral(" rowid AS __fila__,"));
        }
    }
    bool deCache = false;
    sqlite3_stmt* stmt = Preparar(sentencia, deCache);
    for (int i = 0; i < parametros.size(); ++i) CursorSqlite::Enlazar(stmt, i + 1, parametros[i]);
    return std::make_unique<CursorSqlite>(*this, stmt, deCache, tabla);
}

}  // namespace platform::db
