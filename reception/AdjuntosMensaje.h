#pragma once
// File names of a message's saved attachments.
#include <QHash>
#include <QSet>
#include <QString>

namespace reception {

// Names over 50 characters become their first 50, ".", and everything after
// the first "." with the dots removed. The result also fits a file system
// name (255 bytes).
QString NombreArchivoAdjunto(const QString& nombre);

// The names given so far in one message's folder, and for each name the
// next number to try.
struct NombresUsados {
    QSet<QString> usados;
    QHash<QString, int> siguiente;
};

// A name not yet used in this message's folder: "a.pdf", "a (2).pdf", …
QString NombreLibre(const QString& nombre, NombresUsados& usados);

}  // namespace reception
