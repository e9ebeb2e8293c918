#include "reception/CarpetaAdjuntos.h"

#include "platform/ui/MsgBox.h"

#include <QFileInfo>

namespace reception {

bool CarpetaAdjuntosUtilizable(const QString& carpeta) {
    const QFileInfo info(carpeta);
    return !carpeta.isEmpty() && info.isAbsolute() && info.isDir() && info.isWritable();
}

void AvisarCarpetaAdjuntos() {
    platform::ui::MsgBox(QStringLiteral("La ruta configurada como carpeta de adjuntos no existe o es inaccesible. "
                                        "No podra recibir mail hasta que configure una ruta correcta"),
                         platform::ui::Estilo::OKOnly + platform::ui::Estilo::Information,
                         QStringLiteral("Aviso al operador"));
}

}  // namespace reception
