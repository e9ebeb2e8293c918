#pragma once
// The import period chosen by the setting "ACTUALIZA_OUTLOOK".
#include <QDateTime>
#include <QString>

#include <optional>

namespace reception {

// The default when the setting is empty.
inline QString PeriodoPredeterminado() { return QStringLiteral("Ultima Semana"); }

// Writes the start and end days as date texts; a value the table does not
// know leaves both as they were.
void CalcularPeriodo(const QString& ajuste, const QDateTime& referenciaDesde,
                     const QDateTime& referenciaHasta, QString& fd, QString& fh);

// True when the time, in seconds since the epoch, lies from 00:00:01 of fd's
// day to 23:59:59 of fh's day; none is never in the period. Date texts that
// are empty or not dates raise 13 (type mismatch).
bool EnPeriodo(std::optional<qint64> segundos, const QString& fd, const QString& fh);

}  // namespace reception
