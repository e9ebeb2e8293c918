#pragma once
// The module's one temporary text file (the trace of the import and of the
// HTML rewriting), and opening a file with its associated program.
#include <QDateTime>
#include <QString>

#include <cstdint>

namespace common {

// Actions: 1 create, 2 write one line, 3 close and open with its program,
// 4 close and delete; any other does nothing. extension is given its leading
// "."; ruta names the file to create (empty: a name from the time) and
// receives the current path.
void ArchivoTemporal(std::int16_t& accion, const QString& linea, QString& extension, QString& ruta);

// Convenience for the tracing callers: action 1 or 2, ".txt", empty path.
void Traza(std::int16_t accion, const QString& linea);

// Where traces are written: recepcion-email/ under the temp folder, made if missing.
QString CarpetaTrazas();

// Start-up removes traces last written more than seven days before ahora.
void BorrarTrazasViejas(const QDateTime& ahora = QDateTime::currentDateTime());

void AbrirArchivo(const QString& ruta, bool bandera);

// Closes the current temporary file, if open. The import calls it when it
// returns, so traces that are never closed cannot use up the file numbers.
void CerrarTraza();

}  // namespace common
