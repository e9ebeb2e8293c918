#include "reception/BandejaSalida.h"

#include "common/FechaServidor.h"
#include "platform/db/Motores.h"
#include "reception/EstadoPrograma.h"

#include <QDir>
#include <QVariant>

#include <sqlite3.h>

#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <memory>

namespace reception {

namespace {

struct CerrarBase {
    void operator()(sqlite3* b) const { sqlite3_close(b); }
};
using Base = std::unique_ptr<sqlite3, CerrarBase>;
struct CerrarSentencia {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Sentencia = std::unique_ptr<sqlite3_stmt, CerrarSentencia>;

struct FalloEstado {};

constexpr char Esquema[] =
    "CREATE TABLE IF NOT EXISTS bandeja_salida ("
    " id INTEGER PRIMARY KEY, destinatario TEXT NOT NULL, asunto TEXT NOT NULL, cuerpo TEXT NOT "
    "NULL,"
    " creada INTEGER NOT NULL, intentos INTEGER NOT NULL DEFAULT 0, proximo INTEGER NOT NULL,"
    " estado TEXT NOT NULL DEFAULT 'pendiente', proceso INTEGER, ultimo_error TEXT);"
    "CREATE TABLE IF NOT EXISTS respuestas_enviadas (direccion TEXT NOT NULL, momento INTEGER NOT "
    "NULL);"
    "CREATE INDEX IF NOT EXISTS respuestas_por_direccion ON respuestas_enviadas (direccion, "
    "momento);";

Base Abrir() {
    QDir().mkpath(platform::db::CarpetaDatos());
    sqlite3* b = nullptr;
    const int rc = sqlite3_open_v2(ArchivoEstado().toUtf8().constData(), &b,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Base base(b);
    if (rc != SQLITE_OK) throw FalloEstado{};
    sqlite3_busy_timeout(b, 10000);
    if (sqlite3_exec(b, Esquema, nullptr, nullptr, nullptr) != SQLITE_OK) throw FalloEstado{};
    return base;
}

// One statement with its values bound in order (text, integer or null).
Sentencia Preparar(sqlite3* b, const char* sql, const QVariantList& valores = {}) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(b, sql, -1, &s, nullptr) != SQLITE_OK) throw FalloEstado{};
    Sentencia sentencia(s);
    int i = 1;
    for (const QVariant& v : valores) {
        if (v.isNull())
            sqlite3_bind_null(s, i);
        else if (v.typeId() == QMetaType::QString) {
            const QByteArray t = v.toString().toUtf8();
            sqlite3_bind_text(s, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        } else
            sqlite3_bind_int64(s, i, v.toLongLong());
        ++i;
    }
    return sentencia;
}

void Ejecutar(sqlite3* b, const char* sql, const QVariantList& valores = {}) {
    const Sentencia s = Preparar(b, sql, valores);
    if (sqlite3_step(s.get()) != SQLITE_DONE) throw FalloEstado{};
}

QString Texto(sqlite3_stmt* s, int columna) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, columna)));
}

// Taken under one write lock, so two programs never take the same reply.
class Transaccion {
public:
    explicit Transaccion(sqlite3* b) : b_(b) {
        if (sqlite3_exec(b_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
            throw FalloEstado{};
    }
    ~Transaccion() {
        if (!hecha_) sqlite3_exec(b_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Confirmar() {
        if (sqlite3_exec(b_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) throw FalloEstado{};
        hecha_ = true;
    }

private:
    sqlite3* b_;
    bool hecha_ = false;
};

qint64 Ahora() { return common::Ahora().toSecsSinceEpoch(); }
qint64 Proceso() { return static_cast<qint64>(::getpid()); }

// A reply held by a process that has ended is held by nobody.
bool Vivo(sqlite3_stmt* s, int columna) {
    if (sqlite3_column_type(s, columna) == SQLITE_NULL) return false;
    const auto pid = static_cast<pid_t>(sqlite3_column_int64(s, columna));
    return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
}

constexpr char Columnas[] =
    "SELECT id, destinatario, asunto, cuerpo, intentos, creada, estado, proceso, proximo"
    " FROM bandeja_salida";

RespuestaPendiente Leer(sqlite3_stmt* s) {
    return {sqlite3_column_int64(s, 0),
            Texto(s, 1),
            Texto(s, 2),
            Texto(s, 3),
            sqlite3_column_int(s, 4),
            QDateTime::fromSecsSinceEpoch(sqlite3_column_int64(s, 5))};
}

}  // namespace

qint64 SegundosHastaReintento(int intentos) {
    qint64 minutos = 1;
    for (int i = 1; i < intentos && minutos < 60; ++i) minutos *= 2;
    return std::min<qint64>(minutos, 60) * 60;
}

qint64 EncolarRespuesta(const QString& destinatario, const QString& asunto, const QString& cuerpo,
                        int limitePorHora) {
    try {
        const Base b = Abrir();
        Transaccion t(b.get());
        const qint64 ahora = Ahora();
        const QString direccion = destinatario.trimmed().toLower();
        Ejecutar(b.get(), "DELETE FROM respuestas_enviadas WHERE momento <= ?1", {ahora - 3600});
        const Sentencia cuenta = Preparar(
            b.get(), "SELECT COUNT(*) FROM respuestas_enviadas WHERE direccion = ?1", {direccion});
        if (sqlite3_step(cuenta.get()) != SQLITE_ROW) throw FalloEstado{};
        if (sqlite3_column_int(cuenta.get(), 0) >= limitePorHora) {
            t.Confirmar();
            return LimiteAlcanzado;
        }
        Ejecutar(b.get(), "INSERT INTO respuestas_enviadas (direccion, momento) VALUES (?1, ?2)",
                 {direccion, ahora});
        Ejecutar(
            b.get(),
            "INSERT INTO bandeja_salida (destinatario, asunto, cuerpo, creada, proximo, proceso)"
            " VALUES (?1, ?2, ?3, ?4, ?4, ?5)",
            {destinatario, asunto, cuerpo, ahora, Proceso()});
        const qint64 id = sqlite3_last_insert_rowid(b.get());
        t.Confirmar();
        return id;
    } catch (const FalloEstado&) {
        return SinBandeja;
    }
}

bool MarcarEnCurso(qint64 id) {
    try {
        const Base b = Abrir();
        Ejecutar(b.get(),
                 "UPDATE bandeja_salida SET estado = 'en_curso', proceso = ?2 WHERE id = ?1",
                 {id, Proceso()});
        return sqlite3_changes(b.get()) == 1;
    } catch (const FalloEstado&) {
        return false;
    }
}

void QuitarRespuesta(qint64 id) {
    try {
        const Base b = Abrir();
        Ejecutar(b.get(), "DELETE FROM bandeja_salida WHERE id = ?1", {id});
    } catch (const FalloEstado&) {}
}

bool Reprogramar(qint64 id, const QString& error, QDateTime* proximo) {
    try {
        const Base b = Abrir();
        Transaccion t(b.get());
        const Sentencia s =
            Preparar(b.get(), "SELECT creada, intentos FROM bandeja_salida WHERE id = ?1", {id});
        if (sqlite3_step(s.get()) != SQLITE_ROW) return false;
        const qint64 creada = sqlite3_column_int64(s.get(), 0);
        const int intentos = sqlite3_column_int(s.get(), 1) + 1;
        const qint64 siguiente = Ahora() + SegundosHastaReintento(intentos);
        if (siguiente > creada + HorasEnBandeja * 3600) {
            Ejecutar(b.get(), "DELETE FROM bandeja_salida WHERE id = ?1", {id});
            t.Confirmar();
            return false;
        }
        Ejecutar(b.get(),
                 "UPDATE bandeja_salida SET estado = 'pendiente', proceso = NULL, intentos = ?2, "
                 "proximo = ?3,"
                 " ultimo_error = ?4 WHERE id = ?1",
                 {id, intentos, siguiente, error});
        t.Confirmar();
        if (proximo) *proximo = QDateTime::fromSecsSinceEpoch(siguiente);
        return true;
    } catch (const FalloEstado&) {
        return false;
    }
}

std::optional<RespuestaPendiente> TomarPendiente() {
    try {
        const Base b = Abrir();
        Transaccion t(b.get());
        const QByteArray sql = QByteArray(Columnas) +
                               " WHERE estado = 'pendiente' AND proximo <= ?1 ORDER BY proximo, id";
        const Sentencia s = Preparar(b.get(), sql.constData(), {Ahora()});
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            if (Vivo(s.get(), 7)) continue;
            const RespuestaPendiente r = Leer(s.get());
            Ejecutar(b.get(), "UPDATE bandeja_salida SET proceso = ?2 WHERE id = ?1",
                     {r.id, Proceso()});
            t.Confirmar();
            return r;
        }
        return std::nullopt;
    } catch (const FalloEstado&) {
        return std::nullopt;
    }
}

QList<QPair<RespuestaPendiente, QString>> RetirarCaducadas() {
    QList<QPair<RespuestaPendiente, QString>> retiradas;
    try {
        const Base b = Abrir();
        Transaccion t(b.get());
        const qint64 limite = Ahora() - HorasEnBandeja * 3600;
        const Sentencia s = Preparar(b.get(), Columnas);
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            const QString estado = Texto(s.get(), 6);
            const bool vivo = Vivo(s.get(), 7);
            QString motivo;
            if (estado == QLatin1String("en_curso") && !vivo)
                motivo = QStringLiteral(
                    "el envío se interrumpió con el mensaje ya enviado al servidor; "
                    "se desconoce si llegó y no se reintenta");
            else if (estado == QLatin1String("pendiente") && !vivo &&
                     sqlite3_column_int64(s.get(), 5) <= limite)
                motivo = QStringLiteral("no se pudo enviar en %1 horas").arg(HorasEnBandeja);
            if (!motivo.isEmpty()) retiradas.append({Leer(s.get()), motivo});
        }
        for (const auto& [r, motivo] : retiradas)
            Ejecutar(b.get(), "DELETE FROM bandeja_salida WHERE id = ?1", {r.id});
        t.Confirmar();
    } catch (const FalloEstado&) {
        return {};
    }
    return retiradas;
}

}  // namespace reception
