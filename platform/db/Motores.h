#pragma once
// Chooses the engine for a connection profile. An empty server selects the
// embedded engine; server databases (ODBC) plug in here later.
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

// Name of the statistics database, which has its own schema.
inline QString BaseEstadisticas() { return QStringLiteral("CV_ESTADISTICAS"); }

}  // namespace platform::db
