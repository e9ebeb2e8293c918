#include "platform/runtime/ErrorSistema.h"

namespace platform::runtime {

QString DescripcionError(long numero) {
    switch (numero) {
    case 0: return QString();
    case 5: return QStringLiteral("Llamada a procedimiento o argumento no válidos");
    case 6: return QStringLiteral("Desbordamiento");
    case 9: return QStringLiteral("Subíndice fuera del intervalo");
    case 13: return QStringLiteral("No coinciden los tipos");
    case 52: return QStringLiteral("Nombre o número de archivo incorrecto");
    case 53: return QStringLiteral("No se ha encontrado el archivo");
    case 55: return QStringLiteral("El archivo ya está abierto");
    case 57: return QStringLiteral("Error de E/S en el dispositivo");
    case 67: return QStringLiteral("Demasiados archivos");
    case 75: return QStringLiteral("Error de acceso a la ruta o al archivo");
    case 76: return QStringLiteral("No se ha encontrado la ruta de acceso");
    case 91: return QStringLiteral("Variable de objeto o bloque With no establecido");
    case 438: return QStringLiteral("El objeto no admite esta propiedad o método");
    case 3704: return QStringLiteral("No se permite realizar esta operación si el objeto está cerrado.");
    case 3749: return QStringLiteral("No se pudieron actualizar los campos.");
    default: return QStringLiteral("Error definido por la aplicación o el objeto");
    }
}

void Lanzar(long numero, const QString& descripcion, const QString& fuente) {
    throw ErrorSistema{numero, descripcion.isEmpty() ? DescripcionError(numero) : descripcion,
                       fuente};
}

}  // namespace platform::runtime
