#pragma once
// Values across the ODBC boundary: bound parameters in, result rows out.
// Null stays apart from "": an invalid Valor binds SQL NULL and a NULL
// column reads back as an invalid Valor.
#include "platform/db/Odbc.h"
#include "platform/db/Valor.h"

#include <deque>

namespace platform::db::odbc {

// The buffers of one statement's parameters; they must live until it runs.
class Parametros {
public:
    // Binds the values to ?1, ?2, … of the statement.
    SQLRETURN Enlazar(const Manejador& sentencia, const QList<Valor>& valores);

private:
    struct Buffer {
        QString texto;
        QByteArray bytes;
        SQLBIGINT entero = 0;
        double real = 0;
        SQL_TIMESTAMP_STRUCT fecha{};
        SQLLEN indicador = 0;
    };
    std::deque<Buffer> buffers_;  // stable addresses
};

// Every row of the statement's current result. Returns the driver's result
// code: an error leaves its diagnostics on the handle.
SQLRETURN LeerResultado(const Manejador& sentencia, QStringList& columnas, QList<QList<Valor>>& filas);

}  // namespace platform::db::odbc
