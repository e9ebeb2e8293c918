#include "platform/mail/Aplicacion.h"

#include "platform/runtime/ErrorSistema.h"

#include <QDir>

namespace platform::mail {

EspacioNombres::EspacioNombres(QString raiz) : raiz_(std::move(raiz)) {}

Carpeta EspacioNombres::Folders(const QString& cuenta) const {
    return Carpeta(raiz_, QString()).Folders(cuenta);
}

Aplicacion::Aplicacion(QString raiz) : raiz_(std::move(raiz)) {}

QString Aplicacion::RaizPredeterminada() {
    const QString entorno = qEnvironmentVariable("RECEPCION_CORREO");
    if (!entorno.isEmpty()) return entorno;
    return QDir::home().filePath(QStringLiteral("Mail"));
}

EspacioNombres Aplicacion::GetNamespace(const QString& tipo) const {
    if (tipo.compare(QLatin1String("MAPI"), Qt::CaseInsensitive) != 0)
        platform::runtime::Lanzar(platform::runtime::Err::ArgumentoNoValido,
                                  QStringLiteral("Espacio de nombres desconocido: «%1».").arg(tipo));
    return EspacioNombres(raiz_);
}

}  // namespace platform::mail
