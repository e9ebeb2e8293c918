#pragma once
// Imports one account's inbox into V_MA_EMAILMOV.
#include "reception/VistaRecepcion.h"

#include <QString>

namespace reception {

// fd and fh receive the period's start and end dates as texts.
void LeerOutlook(VistaRecepcion& vista, const QString& cuenta, QString& fd, QString& fh);

}  // namespace reception
