#pragma once
// The lookup catalogue "consultas.crv": eleven fixed-length records, one
// per business table or view, with its display name and columns.
#include <QByteArray>
#include <QString>

namespace startup {

constexpr int LongitudRegistroConsulta = 1202;

// One record: display name (100), table (100), columns (500), a blank
// second text (500) and CR LF, each text padded with blanks or cut.
QByteArray RegistroConsulta(const QString& nombre, const QString& tabla, const QString& campos);

// Writes the eleven standard entries at the catalogue path that Consultas
// holds, each appended as the next record. Raises 52 for an empty path and
// 75 when the file cannot be opened or written.
void GenerarConsultas();

}  // namespace startup
