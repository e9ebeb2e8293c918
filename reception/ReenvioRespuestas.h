#pragma once
// The outbox's turn at each tick and reception: replies that could not go
// before are tried again, silently, when their time has come.
#include "reception/VistaRecepcion.h"

namespace reception {

// Drops (with a log line) what can never go, then tries each reply due now
// once, until none is left or the operator cancels.
void ReenviarPendientes(VistaRecepcion& vista);

}  // namespace reception
