#pragma once
// Start-up: from the connection profile to an open business connection and
// a filled working context.
#include <QString>

namespace startup {

// usarPerfilIni: build the line from CN000pr.INI when none is found.
// parametros: an explicit line; "" takes the process's command line.
// textoConexion (in/out): an explicit connection text; receives the Oracle
// text when the server selects Oracle. modo: passed on to Conectar.
// Ends the program when the connection does not open.
void IniciarSistema(bool usarPerfilIni, const QString& parametros, QString& textoConexion,
                    long modo);

// Section of the profile INI file and the file's name.
inline QString ArchivoPerfil() { return QStringLiteral("CN000pr.INI"); }

}  // namespace startup
