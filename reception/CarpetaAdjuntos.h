#pragma once
// The attachments folder: whether the import may save into it, and what the
// operator is told when it may not.
#include <QString>

namespace reception {

// An absolute path naming an existing folder that can be written. A relative
// one would put the files wherever the program happened to be started.
bool CarpetaAdjuntosUtilizable(const QString& carpeta);

// "La ruta configurada como carpeta de adjuntos no existe o es inaccesible…",
// OK with the information icon, titled "Aviso al operador".
void AvisarCarpetaAdjuntos();

}  // namespace reception
