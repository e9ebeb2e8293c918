#pragma once
// The second half of start-up, once the business connection is open:
// statistics link, connection settings, lookup catalogue, global settings
// and the access audit.
#include <QString>

namespace startup {

// abrioConexion: start-up opened the connection itself in this call.
void CompletarInicio(bool abrioConexion, const QString& rutaAplicacion);

}  // namespace startup
