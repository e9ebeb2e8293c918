#pragma once
// Chooses the engine for a connection profile: an empty server is the
// embedded database; a server that names an ODBC data source opens it with
// the profile's database, user and password; any other server is a SQL
// Server host (FreeTDS). A caller's own ODBC string is used as it is, and an
// Oracle text ("Provider=OraOLEDB…;Data Source=X;…") opens data source X.
#include "platform/db/Conexion.h"

#include <functional>

namespace platform::db {

struct ParametrosConexion {
    QString servidor;
    QString base;
    QString usuario;
    QString password;
    QString textoConexion;
    long tiempoEspera = 30;
};

// Where the embedded databases live: RECEPCION_DATOS, else
// $XDG_DATA_HOME/recepcion-email.
QString CarpetaDatos();
// The file of one embedded database in that folder.
QString ArchivoBaseEmbebida(const QString& base);

// Opens the connection; raises ErrorSistema with a clear Spanish description
// (naming the database and the reason) when it cannot.
std::unique_ptr<Conexion> AbrirConexion(const ParametrosConexion& parametros);

// Told the file of each embedded database this process creates, so that a
// mistyped name is not met as an empty database without a word.
void EstablecerAvisoBaseNueva(std::function<void(const QString& archivo)> aviso);

// Whether unixODBC knows a data source of that name (ODBCINI/ODBCSYSINI honoured).
bool EsFuenteDeDatos(const QString& nombre);

// Name of the statistics database, which has its own schema.
inline QString BaseEstadisticas() { return QStringLiteral("CV_ESTADISTICAS"); }

}  // namespace platform::db
