#pragma once
// Commands written between two "#" in a received message (#TELEFONO:…#,
// #MAIL:…#), answered with an automatic reply.
#include "reception/VistaRecepcion.h"

#include <QString>

namespace reception {

// ctaMail: the address to answer to; mensaje: the body to scan.
void EjecutarAccion(VistaRecepcion& vista, const QString& ctaMail, const QString& mensaje);

}  // namespace reception
