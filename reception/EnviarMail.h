#pragma once
// Sends one message over SMTP with the mail settings of the program's user.
#include "reception/VistaRecepcion.h"

#include <QString>

namespace reception {

// mensaje: the HTML body; ctaEmail: the recipient; asunto: the subject.
void EnviarMail(VistaRecepcion& vista, const QString& mensaje, const QString& ctaEmail,
                const QString& asunto);

}  // namespace reception
