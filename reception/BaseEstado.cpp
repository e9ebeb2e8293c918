#include "reception/BaseEstado.h"

#include "platform/db/DescripcionSqlite.h"
#include "platform/db/Motores.h"
#include "platform/runtime/ErrorSistema.h"
#include "reception/EstadoPrograma.h"

#include <QDir>
#include <QVariant>

#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace reception::estado {

namespace {

constexpr char Esquema[] =
    "CREATE TABLE IF NOT EXISTS fallos_importacion ("
    " cuenta TEXT NOT NULL, entrada TEXT NOT NULL, intentos INTEGER NOT NULL,"
    " PRIMARY KEY (cuenta, entrada));"
    "CREATE TABLE IF NOT EXISTS no_es_correo ("
    " cuenta TEXT NOT NULL, entrada TEXT NOT NULL, PRIMARY KEY (cuenta, entrada));"
    "CREATE TABLE IF NOT EXISTS bandeja_salida ("
    " id INTEGER PRIMARY KEY, destinatario TEXT NOT NULL, asunto TEXT NOT NULL, cuerpo TEXT NOT NULL,"
    " creada INTEGER NOT NULL, intentos INTEGER NOT NULL DEFAULT 0, proximo INTEGER NOT NULL,"
    " estado TEXT NOT NULL DEFAULT 'pendiente', proceso INTEGER, ultimo_error TEXT);"
    "CREATE TABLE IF NOT EXISTS respuestas_enviadas (direccion TEXT NOT NULL, momento INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS respuestas_por_direccion ON respuestas_enviadas (direccion, momento);"
    "CREATE TABLE IF NOT EXISTS por_responder ("
    " cuenta TEXT NOT NULL, entrada TEXT NOT NULL, remitente TEXT NOT NULL, comando TEXT NOT NULL,"
    " proceso INTEGER, PRIMARY KEY (cuenta, entrada));";

platform::runtime::ErrorSistema Fallo(sqlite3* b, const QString& que) {
    return platform::runtime::ErrorSistema{
        platform::runtime::Err::ErrorAccesoRuta,
        QStringLiteral("No se pudo %1 el estado del programa en %2: %3")
            .arg(que, ArchivoEstado(),
                 b ? platform::db::DescripcionSqlite(sqlite3_extended_errcode(b),
                                                     QString::fromUtf8(sqlite3_errmsg(b)))
                   : QStringLiteral("sin memoria")),
        QStringLiteral("EstadoPrograma")};
}

}  // namespace

Base Abrir() {
    QDir().mkpath(platform::db::CarpetaDatos());
    sqlite3* b = nullptr;
    const int rc = sqlite3_open_v2(ArchivoEstado().toUtf8().constData(), &b,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Base base(b);
    if (rc != SQLITE_OK) throw Fallo(b, QStringLiteral("abrir"));
    sqlite3_busy_timeout(b, 10000);
    if (sqlite3_exec(b, Esquema, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw Fallo(b, QStringLiteral("preparar"));
    return base;
}

Sentencia Preparar(sqlite3* b, const char* sql, const QVariantList& valores) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(b, sql, -1, &s, nullptr) != SQLITE_OK) throw Fallo(b, QStringLiteral("leer"));
    Sentencia sentencia(s);
    int i = 1;
    for (const QVariant& v : valores) {
        if (v.isNull()) {
            sqlite3_bind_null(s, i);
        } else if (v.typeId() == QMetaType::QString) {
            const QByteArray t = v.toString().toUtf8();
            sqlite3_bind_text(s, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(s, i, v.toLongLong());
        }
        ++i;
    }
    return sentencia;
}

void Ejecutar(sqlite3* b, const char* sql, const QVariantList& valores) {
    const Sentencia s = Preparar(b, sql, valores);
    if (sqlite3_step(s.get()) != SQLITE_DONE) throw Fallo(b, QStringLiteral("escribir"));
}

int EjecutarSiSePuede(const char* sql, const QVariantList& valores) {
    try {
        const Base b = Abrir();
        Ejecutar(b.get(), sql, valores);
        return sqlite3_changes(b.get());
    } catch (const platform::runtime::ErrorSistema&) {
        return -1;
    }
}

bool Fila(sqlite3* b, sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) throw Fallo(b, QStringLiteral("leer"));
    return false;
}

QString Texto(sqlite3_stmt* s, int columna) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, columna)));
}

Transaccion::Transaccion(sqlite3* b) : b_(b) {
    if (sqlite3_exec(b_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw Fallo(b_, QStringLiteral("bloquear"));
}

Transaccion::~Transaccion() {
    if (!hecha_) sqlite3_exec(b_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaccion::Confirmar() {
    if (sqlite3_exec(b_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw Fallo(b_, QStringLiteral("escribir"));
    hecha_ = true;
}

qint64 Proceso() { return static_cast<qint64>(::getpid()); }

bool Vivo(sqlite3_stmt* s, int columna) {
    if (sqlite3_column_type(s, columna) == SQLITE_NULL) return false;
    const auto pid = static_cast<pid_t>(sqlite3_column_int64(s, columna));
    return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace reception::estado
