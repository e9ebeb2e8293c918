#pragma once
// Sends one message over SMTP with the mail settings of the program's user.
// Every message is an automatic reply: it goes through the outbox, so a
// passing failure is tried again later, and one address gets at most
// EMAIL_RESPUESTAS_HORA replies an hour.
#include "reception/BandejaSalida.h"
#include "reception/VistaRecepcion.h"

#include <QString>

namespace reception {

// The hourly limit when the setting is missing or not a number.
inline constexpr int RespuestasPorHora = 10;

// mensaje: the HTML body; ctaEmail: the recipient; asunto: the subject.
void EnviarMail(VistaRecepcion& vista, const QString& mensaje, const QString& ctaEmail,
                const QString& asunto);

// One attempt at a reply of the outbox. The first attempt tells the operator
// what failed; a retry (reintento) asks nothing and writes to the log.
void EnviarRespuesta(VistaRecepcion& vista, const RespuestaPendiente& respuesta, bool reintento);

}  // namespace reception
