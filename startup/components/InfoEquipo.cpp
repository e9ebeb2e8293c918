#include "startup/components/InfoEquipo.h"

#include <QDesktopServices>
#include <QDir>
#include <QSysInfo>
#include <QUrl>

namespace components {

QString InfoEquipo::NombrePC() const {
    const QString nombre = QSysInfo::machineHostName();
    return nombre.isEmpty() ? QStringLiteral("EQUIPO") : nombre;
}

QString InfoEquipo::IdentidadEquipo() const {
    const QByteArray id = QSysInfo::machineUniqueId();
    return id.isEmpty() ? QSysInfo::kernelType() : QString::fromLatin1(id);
}

QString InfoEquipo::CarpetaEquipo() const { return QDir::tempPath(); }

void InfoEquipo::EjecutarArchivo(long, const QString&, const QString& ruta, const QString&,
                                 const QString&, int, long& resultado) const {
    resultado = QDesktopServices::openUrl(QUrl::fromLocalFile(ruta)) ? 33 : 2;
}

}  // namespace components
