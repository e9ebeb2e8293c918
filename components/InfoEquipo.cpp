#include "components/InfoEquipo.h"

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
    // Callers quote a path with blanks, as the old shell wanted; a URL must not.
    QString limpia = ruta.trimmed();
    if (limpia.size() >= 2 && limpia.startsWith(QLatin1Char('"')) && limpia.endsWith(QLatin1Char('"')))
        limpia = limpia.mid(1, limpia.size() - 2);
    resultado = QDesktopServices::openUrl(QUrl::fromLocalFile(limpia)) ? 33 : 2;
}

}  // namespace components
