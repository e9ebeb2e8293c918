#pragma once
// The database server's current date and time, with local fallbacks.
#include <QDateTime>

namespace common {

// Never raises; the zero date (1899-12-30 00:00) when nothing can be read.
QDateTime FechaServidor();

// The OLE Automation date scale's day 0.
QDateTime FechaCero();

}  // namespace common
