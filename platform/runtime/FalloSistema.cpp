#include "platform/runtime/FalloSistema.h"

#include <cerrno>

namespace platform::runtime {

QString DescripcionFalloSistema(int numeroErrno) {
    switch (numeroErrno) {
    case ENOSPC: return QStringLiteral("no queda espacio en el disco");
    case EDQUOT: return QStringLiteral("se agotó la cuota de disco");
    case EFBIG: return QStringLiteral("el archivo supera el tamaño que se permite escribir");
    case EROFS: return QStringLiteral("el sistema de archivos es de solo lectura");
    case EACCES:
    case EPERM: return QStringLiteral("permiso denegado");
    case ENOENT: return QStringLiteral("no existe el archivo o la carpeta");
    case ENOTDIR: return QStringLiteral("una parte de la ruta no es una carpeta");
    case EISDIR: return QStringLiteral("hay una carpeta con ese nombre");
    case EEXIST: return QStringLiteral("ya existe");
    case ELOOP: return QStringLiteral("es un enlace simbólico");
    case ENAMETOOLONG: return QStringLiteral("el nombre es demasiado largo");
    case EIO: return QStringLiteral("error de entrada o salida del disco");
    case EMFILE:
    case ENFILE: return QStringLiteral("hay demasiados archivos abiertos");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("el archivo está en uso");
    case ENOMEM: return QStringLiteral("no hay memoria suficiente");
    case EINVAL: return QStringLiteral("argumento no válido");
    case 0: return QStringLiteral("motivo desconocido");
    default: return QStringLiteral("error del sistema número %1").arg(numeroErrno);
    }
}

}  // namespace platform::runtime
