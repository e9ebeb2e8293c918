#pragma once
// The ODBC connection strings a connection profile leads to.
#include <QString>

namespace platform::db {

// A value for a connection string, in braces when it needs them.
QString ValorCadena(const QString& valor);

// A data source of odbc.ini with the profile's database, user and password.
QString CadenaFuente(const QString& fuente, const QString& base, const QString& usuario,
                     const QString& password);

// A SQL Server through FreeTDS: "HOST", "HOST\INSTANCE" or "HOST,PORT".
QString CadenaSqlServer(const QString& servidor, const QString& base, const QString& usuario,
                        const QString& password);

// A caller's own text that is already an ODBC string ("Driver=…;", "DSN=…;").
bool EsCadenaOdbc(const QString& texto);

// The value of one key of a "k=v;k=v" text ("" when absent), any case.
QString ValorDeClave(const QString& texto, const QString& clave);

}  // namespace platform::db
