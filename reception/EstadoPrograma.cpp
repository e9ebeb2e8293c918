#include "reception/EstadoPrograma.h"

#include "platform/db/DescripcionSqlite.h"
#include "platform/db/Motores.h"
#include "platform/runtime/ErrorSistema.h"

#include <QDir>

#include <sqlite3.h>

#include <memory>

namespace reception {

using platform::runtime::ErrorSistema;

namespace {

struct CerrarBase {
    void operator()(sqlite3* b) const { sqlite3_close(b); }
};
using Base = std::unique_ptr<sqlite3, CerrarBase>;

struct CerrarSentencia {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Sentencia = std::unique_ptr<sqlite3_stmt, CerrarSentencia>;

ErrorSistema Fallo(sqlite3* b, const QString& que) {
    return ErrorSistema{platform::runtime::Err::ErrorAccesoRuta,
                        QStringLiteral("No se pudo %1 el estado del programa en %2: %3")
                            .arg(que, ArchivoEstado(),
                                 b ? platform::db::DescripcionSqlite(sqlite3_extended_errcode(b),
                                                                     QString::fromUtf8(sqlite3_errmsg(b)))
                                   : QStringLiteral("sin memoria")),
                        QStringLiteral("EstadoPrograma")};
}

// Opened for each use: several programs may share the data folder, and a
// short-lived handle never keeps another one waiting.
Base Abrir() {
    QDir().mkpath(platform::db::CarpetaDatos());
    sqlite3* b = nullptr;
    const int rc = sqlite3_open_v2(ArchivoEstado().toUtf8().constData(), &b,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Base base(b);
    if (rc != SQLITE_OK) throw Fallo(b, QStringLiteral("abrir"));
    sqlite3_busy_timeout(b, 10000);
    if (sqlite3_exec(b,
                     "CREATE TABLE IF NOT EXISTS fallos_importacion ("
                     " cuenta TEXT NOT NULL, entrada TEXT NOT NULL, intentos INTEGER NOT NULL,"
                     " PRIMARY KEY (cuenta, entrada));"
                     "CREATE TABLE IF NOT EXISTS no_es_correo ("
                     " cuenta TEXT NOT NULL, entrada TEXT NOT NULL, PRIMARY KEY (cuenta, entrada))",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        throw Fallo(b, QStringLiteral("preparar"));
    return base;
}

Sentencia Preparar(sqlite3* b, const char* sql, const QString& cuenta, const QString& entrada) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(b, sql, -1, &s, nullptr) != SQLITE_OK) throw Fallo(b, QStringLiteral("leer"));
    Sentencia sentencia(s);
    const QByteArray c = cuenta.toUtf8();
    sqlite3_bind_text(s, 1, c.constData(), static_cast<int>(c.size()), SQLITE_TRANSIENT);
    if (!entrada.isNull()) {
        const QByteArray e = entrada.toUtf8();
        sqlite3_bind_text(s, 2, e.constData(), static_cast<int>(e.size()), SQLITE_TRANSIENT);
    }
    return sentencia;
}

int Intentos(sqlite3* b, const QString& cuenta, const QString& entrada) {
    const Sentencia s =
        Preparar(b, "SELECT intentos FROM fallos_importacion WHERE cuenta=?1 AND entrada=?2", cuenta, entrada);
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_ROW) return sqlite3_column_int(s.get(), 0);
    if (rc != SQLITE_DONE) throw Fallo(b, QStringLiteral("leer"));
    return 0;
}

void Ejecutar(sqlite3* b, const char* sql, const QString& cuenta, const QString& entrada = QString()) {
    const Sentencia s = Preparar(b, sql, cuenta, entrada);
    if (sqlite3_step(s.get()) != SQLITE_DONE) throw Fallo(b, QStringLiteral("escribir"));
}

}  // namespace

QString ArchivoEstado() { return QDir(platform::db::CarpetaDatos()).filePath(QStringLiteral("estado.db")); }

int AnotarFallo(const QString& cuenta, const QString& entrada) {
    try {
        const Base b = Abrir();
        Ejecutar(b.get(),
                 "INSERT INTO fallos_importacion (cuenta, entrada, intentos) VALUES (?1, ?2, 1)"
                 " ON CONFLICT (cuenta, entrada) DO UPDATE SET intentos = intentos + 1",
                 cuenta, entrada);
        return Intentos(b.get(), cuenta, entrada);
    } catch (const ErrorSistema&) {
        return 0;
    }
}

int FallosAnotados(const QString& cuenta, const QString& entrada) {
    try {
        const Base b = Abrir();
        return Intentos(b.get(), cuenta, entrada);
    } catch (const ErrorSistema&) {
        return 0;
    }
}

void OlvidarFallos(const QString& cuenta, const QString& entrada) {
    try {
        const Base b = Abrir();
        Ejecutar(b.get(), "DELETE FROM fallos_importacion WHERE cuenta=?1 AND entrada=?2", cuenta, entrada);
    } catch (const ErrorSistema&) {
    }
}

bool PrimeraVezNoEsCorreo(const QString& cuenta, const QString& entrada) {
    try {
        const Base b = Abrir();
        Ejecutar(b.get(), "INSERT OR IGNORE INTO no_es_correo (cuenta, entrada) VALUES (?1, ?2)", cuenta, entrada);
        return sqlite3_changes(b.get()) > 0;
    } catch (const ErrorSistema&) {
        return true;
    }
}

int LiberarApartados(const QString& cuenta) {
    const Base b = Abrir();
    Ejecutar(b.get(), "DELETE FROM fallos_importacion WHERE cuenta=?1", cuenta);
    return sqlite3_changes(b.get());
}

}  // namespace reception
