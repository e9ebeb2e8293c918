#include "platform/db/ErroresMariaDb.h"

namespace platform::db {

ErrorBaseDatos ErrorMariaDb(long nativo, const QString& m) {
    switch (nativo) {
    case 1062:
        return {Nativo::ClaveDuplicada,
                QStringLiteral("Infracción de la restricción UNIQUE KEY. No se puede insertar una "
                               "clave duplicada (%1).").arg(m)};
    case 1451: case 1452:
        return {Nativo::ConflictoRestriccion,
                QStringLiteral("La instrucción está en conflicto con una restricción (%1).").arg(m)};
    case 1048:
        return {Nativo::ValorNulo, QStringLiteral("No se puede insertar el valor NULL (%1).").arg(m)};
    case 1146:
        return {Nativo::ObjetoNoValido, QStringLiteral("El nombre de objeto no es válido (%1).").arg(m)};
    case 1054:
        return {Nativo::ColumnaNoValida, QStringLiteral("El nombre de columna no es válido (%1).").arg(m)};
    case 1064:
        return {Nativo::Sintaxis, QStringLiteral("Sintaxis incorrecta (%1).").arg(m)};
    case 1205:
        return {Nativo::TiempoBloqueo, QStringLiteral("Se superó el tiempo de espera del bloqueo (%1).").arg(m)};
    case 1213:
        return {Nativo::Interbloqueo,
                QStringLiteral("La transacción quedó en un interbloqueo y se canceló (%1).").arg(m)};
    default:
        return {nativo, m};
    }
}

}  // namespace platform::db
