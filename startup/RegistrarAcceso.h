#pragma once
// The access audit: one Control_Acceso row per entry of a user into a
// process of the product, with the task the menu permissions give him.
#include <QString>
#include <QStringList>

namespace startup {

// The statement array only the audit uses.
QStringList& ListaSentencias();

// The name a process is recorded and looked up under: the first row of the
// substitution table that holds the name (any case) gives it; otherwise
// the name itself. sustituido tells whether a row matched.
QString ProcesoSustituido(const QString& proceso, bool& sustituido);
// True for the processes whose task is never looked up.
bool ProcesoExcluido(const QString& proceso);

// The task lookup for a user and a process, apostrophes doubled.
QString ConsultaTarea(const QString& usuario, const QString& proceso);

// Records the entry; "" stands for the running program. Never raises and
// shows nothing itself. UsuarioLogeado becomes Datos' Usuario without single
// quotes; IdControlAcceso the ID of the row written.
void RegistrarAcceso(const QString& nombreProceso);

}  // namespace startup
