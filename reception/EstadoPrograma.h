#pragma once
// The program's own state, kept beside the embedded databases in estado.db
// (one per workstation), never in the business tables: how many times the
// import of each message failed, and the files of the inbox that are not mail.
// The outbox and the replies owed keep their tables in the same file.
#include <QHash>
#include <QString>

namespace reception {

// Failed imports after which a message is set aside until released.
constexpr int IntentosAntesDeApartar = 3;

// Counts one more failed import of the entry; returns the count so far.
// Returns 0 when the state cannot be written (the message is then retried).
int AnotarFallo(const QString& cuenta, const QString& entrada);

// The failed imports counted for each entry of the account, read at once
// when an import starts (empty when none or unreadable); at
// IntentosAntesDeApartar or more the message is set aside.
QHash<QString, int> FallosDeLaCuenta(const QString& cuenta);

// Forgets the failures of an entry that has been stored at last.
void OlvidarFallos(const QString& cuenta, const QString& entrada);

// Remembers a file of the inbox that is not mail; true the first time it is
// met (and whenever the state cannot be written), so it is logged once.
bool PrimeraVezNoEsCorreo(const QString& cuenta, const QString& entrada);

// Releases every set-aside message of the account, and forgets its other
// counts; returns how many entries were forgotten.
// Raises ErrorSistema (path access error) when the state cannot be opened.
int LiberarApartados(const QString& cuenta);

// The file, for messages and tests.
QString ArchivoEstado();

}  // namespace reception
