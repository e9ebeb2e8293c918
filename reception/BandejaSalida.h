#pragma once
// The outbox of automatic replies, in the program's own state (estado.db).
// A reply is written here before its first attempt, so a crash loses
// nothing; one that fails for a passing reason waits for a later tick or
// run, at growing intervals, for up to a day. Before its message text goes
// out a reply is marked in flight: from then on it is never sent again,
// whatever happens to the process.
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace reception {

struct RespuestaPendiente {
    qint64 id = 0;
    QString destinatario;
    QString asunto;
    QString cuerpo;
    int intentos = 0;  // failed attempts so far
    QDateTime creada;
};

// How long a reply is kept trying.
inline constexpr int HorasEnBandeja = 24;

// Result of EncolarRespuesta besides an id.
inline constexpr qint64 SinBandeja = 0;  // estado.db could not be written: try once, keep nothing
inline constexpr qint64 LimiteAlcanzado = -1;  // the address had its replies for this hour

// Counts the reply against the address's hourly limit and queues it.
qint64 EncolarRespuesta(const QString& destinatario, const QString& asunto, const QString& cuerpo,
                        int limitePorHora);

// Before the message text: false when it could not be written (do not send).
bool MarcarEnCurso(qint64 id);
// The reply left the outbox: delivered, or never to be tried again.
void QuitarRespuesta(qint64 id);
// Another attempt later; false (and the reply removed) when its day is over.
// Returns the time of the next attempt through proximo.
bool Reprogramar(qint64 id, const QString& error, QDateTime* proximo = nullptr);

// The next reply due now, taken by this process until it is put back.
std::optional<RespuestaPendiente> TomarPendiente();

// Replies that can never be sent: in flight in a process that no longer
// runs (outcome unknown) or past their day. Removed; returned with the reason.
QList<QPair<RespuestaPendiente, QString>> RetirarCaducadas();

// Wait after the n-th failed attempt: 1, 2, 4 ... minutes, at most an hour.
qint64 SegundosHastaReintento(int intentos);

}  // namespace reception
