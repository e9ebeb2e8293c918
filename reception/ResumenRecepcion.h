#pragma once
// What an unattended reception tells on stderr: its progress while it runs,
// on a terminal only, and one summary line at the end (the journal keeps it).
#include "reception/ResultadoRecepcion.h"

#include <QString>

namespace reception {

// "Cuenta X: filas nuevas N, conocidos N, omitidos N, respuestas enviadas N, fallos N, no son correo N".
// Skipped are the messages outside the period and those set aside; failures
// the messages passed over after a failure and the replies not sent.
QString LineaResumen(const QString& cuenta, const ResultadoRecepcion& r);

// Progress is shown only once enabled and only when stderr is a terminal.
void ActivarAvance(bool activo);
// Message n of total of the account, with the messages per second so far.
void MostrarAvance(const QString& cuenta, long n, long total);

}  // namespace reception
