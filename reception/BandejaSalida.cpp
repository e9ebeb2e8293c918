#include "reception/BandejaSalida.h"

#include "common/FechaServidor.h"
#include "platform/runtime/ErrorSistema.h"
#include "reception/BaseEstado.h"
#include "reception/PorResponder.h"

#include <QVariant>

namespace reception {

using namespace estado;
using platform::runtime::ErrorSistema;

namespace {

qint64 Ahora() { return common::Ahora().toSecsSinceEpoch(); }
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
        if (!Fila(b.get(), cuenta.get())) return SinBandeja;
        OlvidarOrigenEn(b.get());
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
    } catch (const ErrorSistema&) {
        return SinBandeja;
    }
}

bool MarcarEnCurso(qint64 id) {
    return EjecutarSiSePuede("UPDATE bandeja_salida SET estado = 'en_curso', proceso = ?2 WHERE id = ?1",
                             {id, Proceso()}) == 1;
}

void QuitarRespuesta(qint64 id) { EjecutarSiSePuede("DELETE FROM bandeja_salida WHERE id = ?1", {id}); }

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
    } catch (const ErrorSistema&) {
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
    } catch (const ErrorSistema&) {
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
    } catch (const ErrorSistema&) {
        return {};
    }
    return retiradas;
}

}  // namespace reception
