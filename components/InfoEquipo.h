#pragma once
// Facts about the workstation.
#include <QString>

namespace components {

class InfoEquipo {
public:
    QString NombrePC() const;
    // A second identifying text: the machine's unique id where the system has one.
    QString IdentidadEquipo() const;
    // The folder used for temporary files when TEMP and TMP give none.
    QString CarpetaEquipo() const;
    // Opens the file with its associated program; the result is not used.
    void EjecutarArchivo(long, const QString&, const QString& ruta, const QString&, const QString&,
                         int modo, long& resultado) const;
};

}  // namespace components
