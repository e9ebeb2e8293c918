#pragma once
// The one clock of the program: the embedded engine's getdate() and the
// workstation's date above it both read it, so a test that fixes it fixes
// both.
#include <QDateTime>

#include <functional>

namespace platform::db {

// The current local date and time.
QDateTime Ahora();
// Tests fix the clock; an empty function puts the system clock back.
void EstablecerReloj(std::function<QDateTime()> reloj);

}  // namespace platform::db
