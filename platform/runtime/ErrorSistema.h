#pragma once
// The one error type of the system: what the old runtime called Err.
#include "platform/runtime/CatalogoErrores.h"

#include <QString>

namespace platform::runtime {

struct ErrorSistema {
    long Numero = 0;
    QString Descripcion;
    QString Fuente;
};

// The catalogue's description for a number, as the old Err.Description gave it.
QString DescripcionError(long numero);

[[noreturn]] void Lanzar(long numero, const QString& descripcion = {},
                         const QString& fuente = {});

}  // namespace platform::runtime
