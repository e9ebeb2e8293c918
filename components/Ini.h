#pragma once
// Reads the connection profile INI file. Sections and keys are matched
// without regard to case, as the Windows profile functions did.
#include <QString>

namespace components {

class Ini {
public:
    // archivo is a bare file name: looked for in the application folder,
    // then in $XDG_CONFIG_HOME/recepcion-email/.
    QString LeerValor(const QString& archivo, const QString& seccion, const QString& clave,
                      const QString& predeterminado) const;
    // The value of a key in INI text; found is false when section or key are missing.
    static QString BuscarEnTexto(const QString& texto, const QString& seccion, const QString& clave,
                                 bool& encontrado);
    static QString RutaArchivo(const QString& archivo);
};

}  // namespace components
