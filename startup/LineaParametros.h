#pragma once
// The connection profile as one text of "key=value;" entries.
#include <QString>

namespace startup {

// The fields the parameter line fills.
struct PerfilConexion {
    QString ParametroAdicional;
    QString Menu;
    QString Servidor;
    QString BaseDatos;
    QString Usuario;
    QString Password;
    QString UsuarioLogeado;
    QString Caja;
};

// One key of the line into its field, as start-up reads it: a plain
// case-insensitive search for the key, the text up to the next ";", every
// "=" removed, blanks trimmed. Absent key: the default. A key that no ";"
// follows raises error 5, so the caller's step is skipped and the field
// keeps its value; positions beyond 32767 raise overflow (6).
void LeerClave(const QString& linea, const QString& clave, const QString& predeterminado,
               QString& campo);

// The line built from the INI profile's four values.
QString LineaDesdePerfil(const QString& servidor, const QString& base, const QString& usuario,
                         const QString& password);

// The server part handed to the data-access component: after the first "/",
// before the first ":". "a/b:c" gives "b". Never fails.
QString ExtraerServidor(const QString& servidor);

// The Oracle connection text for a database, user and password.
QString TextoConexionOracle(const QString& base, const QString& usuario, const QString& password);

}  // namespace startup
