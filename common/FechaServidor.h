#pragma once
// The database server's current date and time, with local fallbacks.
#include <QDateTime>

#include <functional>

namespace common {

// Never raises; the zero date (1899-12-30 00:00) when nothing can be read.
QDateTime FechaServidor();

// The OLE Automation date scale's day 0.
QDateTime FechaCero();

// The workstation's current local date and time: the database layer's
// clock, the one the embedded engine's getdate() reads. Tests fix it; an
// empty function puts the system clock back.
QDateTime Ahora();
void EstablecerReloj(std::function<QDateTime()> reloj);

}  // namespace common
