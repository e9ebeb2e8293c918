#pragma once
// File names of a message's saved attachments.
#include <QString>

namespace reception {

// Names over 50 characters become their first 50, ".", and everything after
// the first "." with the dots removed. The result also fits a file system
// name (255 bytes).
QString NombreArchivoAdjunto(const QString& nombre);

// The most bytes of a saved attachment's name, numbering included.
constexpr qsizetype MaximoBytesNombreAdjunto = 255;

}  // namespace reception
