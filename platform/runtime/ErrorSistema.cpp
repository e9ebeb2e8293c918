#include "platform/runtime/ErrorSistema.h"

namespace platform::runtime {

QString DescripcionError(long numero) {
    if (numero == 0) return QString();
    for (const NumeroError* e : Catalogo)
        if (e->numero == numero) return e->descripcion.toString();
    return DescripcionDesconocida.toString();
}

void Lanzar(long numero, const QString& descripcion, const QString& fuente) {
    throw ErrorSistema{numero, descripcion.isEmpty() ? DescripcionError(numero) : descripcion,
                       fuente};
}

}  // namespace platform::runtime
