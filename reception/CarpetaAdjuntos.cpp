#include "reception/CarpetaAdjuntos.h"

#include "platform/ui/MsgBox.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace reception {

bool CarpetaAdjuntosUtilizable(const QString& carpeta) {
    const QFileInfo info(carpeta);
    if (carpeta.isEmpty() || !info.isAbsolute() || !info.isDir()) return false;
    // Asked with the rights the files will be written with (the effective
    // ones), and a read-only file system says no here too. Old container
    // filters refuse the system call behind it: then the plain question.
    const QByteArray ruta = QFile::encodeName(carpeta);
    if (::faccessat(AT_FDCWD, ruta.constData(), W_OK | X_OK, AT_EACCESS) == 0) return true;
    if (errno != ENOSYS && errno != EPERM) return false;
    return ::access(ruta.constData(), W_OK | X_OK) == 0;
}

void AvisarCarpetaAdjuntos() {
    platform::ui::MsgBox(QStringLiteral("La ruta configurada como carpeta de adjuntos no existe o es inaccesible. "
                                        "No podra recibir mail hasta que configure una ruta correcta"),
                         platform::ui::Estilo::OKOnly + platform::ui::Estilo::Information,
                         QStringLiteral("Aviso al operador"));
}

}  // namespace reception
