#pragma once
// Commands written between two "#" in a received message (#TELEFONO:…#,
// #MAIL:…#), answered with an automatic reply.
#include "reception/VistaRecepcion.h"

#include <QString>

namespace reception {

// The text from the first "#" to the next one, both included; empty when
// the body holds no command. All that EjecutarAccion reads of the body.
QString TextoDelComando(const QString& mensaje);

// The body holds a command that may be answered: a phone or mail request
// with a value. Whether an account matches is known only by asking.
bool PideRespuesta(const QString& mensaje);

// ctaMail: the address to answer to; mensaje: the body to scan.
void EjecutarAccion(VistaRecepcion& vista, const QString& ctaMail, const QString& mensaje);

}  // namespace reception
