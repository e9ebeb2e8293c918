#include "reception/EntradasConocidas.h"

#include "common/Contexto.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/ErrorSistema.h"

#include <algorithm>

namespace reception {

void EntradasConocidas::Leer(const QString& cuenta) {
    entradas_.clear();
    auto& datos = common::Datos();
    platform::db::Recordset rs;
    try {
        datos.AbrirConsulta(QStringLiteral("SELECT UIDL FROM V_MA_EMAILMOV WHERE CuentaEmail = ?"),
                            rs, {cuenta});
        const platform::db::Recordset& filas = rs;
        for (; !rs.Eof(); rs.MoveNext()) {
            const platform::db::Valor uidl = filas.Fields(0);
            if (!uidl.isNull()) entradas_.push_back(uidl.toString());
        }
        datos.CerrarRecordset(rs);
    } catch (const platform::runtime::ErrorSistema&) {
        entradas_.clear();  // each message is then asked about, as without the set
        return;
    }
    std::sort(entradas_.begin(), entradas_.end());
    entradas_.shrink_to_fit();
}

bool EntradasConocidas::Contiene(const QString& entrada) const {
    return std::binary_search(entradas_.begin(), entradas_.end(), entrada);
}

}  // namespace reception
