#pragma once
// The shared procedures' two error sinks: the operator dialog with its line
// in CVERR.LOG, and the AUX_ERR row for a failed statement.
#include "platform/runtime/ErrorSistema.h"
#include "platform/ui/MsgBox.h"

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace common {

// The style errors are shown with: Abort/Retry/Ignore, critical (18).
inline constexpr int EstiloError = platform::ui::Estilo::AbortRetryIgnore + platform::ui::Estilo::Critical;

// Shows the error, appends one line to CVERR.LOG and returns the answer;
// 0 for error number 0 (nothing shown).
std::int16_t ReportarError(const platform::runtime::ErrorSistema& error, int estilo = EstiloError,
                           const QString& rutina = QString());

// A notice that asks nothing of the operator: one line on stderr and one in
// CVERR.LOG, in the log's own form. Never raises.
void AnotarAviso(const QString& texto, const QString& rutina = QString());

// Writes one AUX_ERR row; never reports. An empty proceso is set to the
// executable name.
void GrabaError(const QString& sql, QString& proceso, long numero, const QString& descripcion);

// Display-format patterns.
QString FormatoFechaHora();  // "dd/mm/yy hh:mm"
QString FormatoFecha();      // "dd/mm/yy"
QString FormatoHora();       // "hh:mm"

// A date written with one of the patterns above (day/month/year notation:
// "mm" after an hour is the minute, otherwise the month).
QString FormatearFecha(const QDateTime& momento, const QString& patron);

// Folder of CVERR.LOG and of the trace files, ending in the separator: TMP
// when TEMP is set (the test is on TEMP), else CarpetaEquipo.
QString CarpetaTemporal();

}  // namespace common
