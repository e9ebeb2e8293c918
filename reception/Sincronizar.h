#pragma once
// The synchroniser run before an account's import (EMAIL_SINCRONIZAR): it
// brings the server's mail into the local store, e.g. mbsync.
#include "reception/VistaRecepcion.h"

#include <QString>
#include <QStringList>

namespace reception {

// The command line split into arguments, then {cuenta} and {correo} put
// inside each one, so a name with quotes or blanks stays one argument.
QStringList ArgumentosSincronizar(const QString& linea, const QString& cuenta, const QString& raiz);

// Runs the setting's command for the account, if there is one, without a
// shell and with the time-out EMAIL_SINCRONIZAR_ESPERA (seconds). The window
// keeps answering; "Cancelar" stops it. A failure writes one line to
// CVERR.LOG and the status label, never a dialog, and returns false: the
// import then reads what the store already holds.
bool Sincronizar(VistaRecepcion& vista, const QString& cuenta);

}  // namespace reception
