#pragma once
// Names taken from received mail, made safe to use on disk and in SQL.
#include <QByteArray>
#include <QString>

namespace platform::mail {

// A bare file name for a name proposed by the sender: no folder part, no
// control or invisible format characters, no leading dots, at most 200
// characters and 200 UTF-8 bytes (the extension is kept), never empty.
QString NombreArchivoSeguro(const QString& propuesto);

// The identifier of a Maildir unique name: the name itself when it only holds
// letters, digits and . _ - , = + and is short; otherwise a cleaned prefix
// followed by a hash of the whole name, so that it stays unique.
QString IdentificadorSeguro(const QByteArray& nombreUnico);

// A file extension (with its dot) for a MIME type, ".bin" when none is known.
QString ExtensionDeTipo(const QString& tipoMime);

}  // namespace platform::mail
