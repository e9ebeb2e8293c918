#pragma once
// The product's global settings, loaded from the configuration table and
// the logged-on user's row.
#include <QString>

namespace common {

// rutaAplicacion: the application folder, ending in the separator.
void CargarConfiguracion(QString& rutaAplicacion);

}  // namespace common
