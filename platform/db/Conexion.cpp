#include "platform/db/Conexion.h"

#include "platform/runtime/ErrorSistema.h"

namespace platform::db {

QList<Valor> Cursor::Insertar(const QStringList&, const QList<Valor>&) {
    runtime::Lanzar(runtime::Err::NoAdmitidoPorProveedor,
                    QStringLiteral("El recordset no se puede actualizar."));
}

void Cursor::Modificar(const Valor&, const QStringList&, const QList<Valor>&) {
    runtime::Lanzar(runtime::Err::NoAdmitidoPorProveedor,
                    QStringLiteral("El recordset no se puede actualizar."));
}

}  // namespace platform::db
