#pragma once
// The statistics database "CV_ESTADISTICAS": its login on the server, the
// script that creates it, and the second data-access instance linked to it.
#include "components/AccesoDatos.h"

#include <QString>
#include <QStringList>

namespace startup {

// Name of the statistics database and of its login; its fixed password.
QString NombreEstadisticas();
QString ClaveEstadisticas();

// The four SQL Server statements that create a login (A: the login, B: its
// server roles, C: access to the current database, D: its database roles).
QString SentenciaAltaLogin(const QString& login, const QString& password, const QString& baseDefecto);
QString SentenciaRolesServidor(const QString& login);
QString SentenciaAccesoBase(const QString& login);
QString SentenciaRolesBase(const QString& login);
// The Oracle user with its roles and grants: 75 lines, each ending CR LF.
QString GuionUsuarioOracle(const QString& login, const QString& password);
// The 19 lines of CDB7.SQL, without their CR LF.
QStringList LineasCDB7(const QString& base);

// Makes sure of the login, links DatosEstadisticas and sets
// TiempoEsperaComandos from its "TimeOut" setting (360 when none). Every
// failing step is skipped.
void EnlazarEstadisticas();

// Creates the login on the server of the instance (Datos when none).
// Stops after the first statement when the login exists (15025); writes the
// creation script when the database is missing (15010).
void CrearUsuarioBase(QString& baseDefecto, QString& login, QString& password,
                      components::AccesoDatos* instancia = nullptr);

// Writes CDB7.SQL to the temporary folder and links DatosEstadisticas to
// the database. False when it stopped early: no "completocve.sql" in the
// application folder, or no connection afterwards.
bool CrearBaseEstadisticas(QString& servidor, QString& noUsado1, QString& noUsado2, QString& base);

}  // namespace startup
