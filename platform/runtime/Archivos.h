#pragma once
// File numbers as the old runtime handed them out (FreeFile / Open / Print / Close),
// so that errors 52, 55 and 67 arise where they used to.
#include <QString>

namespace platform::runtime::Archivos {

enum class Modo { Output, Append, Input };

// The lowest free number, 1..255; 67 when all are taken.
int Libre();
// Opens path under number. 55 when the number is in use or the path is
// already open under another number; 75 when the file cannot be opened.
void Abrir(int numero, const QString& ruta, Modo modo);
// Writes one line and its CR LF. 52 for a number that is not open.
void EscribirLinea(int numero, const QString& texto);
// Writes text as it stands (no line end). 52 for a number that is not open.
void Escribir(int numero, const QString& texto);
// For a file written at a high rate, such as a trace: its writes stay in
// memory until VaciarDiferidos, Cerrar or the end of the program, instead
// of one system write each. 52 for a number that is not open.
void Diferir(int numero);
// Writes out what deferred files hold. DoEvents and every prompt call it, so
// a line waits at most until the program next yields or asks the operator.
void VaciarDiferidos();
// Closes the number; a number that is not open is accepted.
void Cerrar(int numero);
void CerrarTodos();
bool EstaAbierto(int numero);
QString Ruta(int numero);

}  // namespace platform::runtime::Archivos
