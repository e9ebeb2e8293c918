#pragma once
// A message with a command is marked here, in the program's own state, from
// just before its row is stored until its reply is in the outbox (or is found
// to need none). A program stopped in between leaves the mark, and the next
// import of the account answers the message: its row is already stored, so
// the import itself never meets it again.
#include "reception/VistaRecepcion.h"

#include <QList>
#include <QString>

#include <sqlite3.h>

namespace reception {

struct PorResponder {
    QString entrada;
    QString remitente;
    QString comando;  // the text between the two "#", with them
};

// Failures are not raised: without the mark a stop loses the reply, as before.
void AnotarPorResponder(const QString& cuenta, const PorResponder& mensaje);
void OlvidarPorResponder(const QString& cuenta, const QString& entrada);

// The marks left for the account by programs that have stopped, now held by
// this one until forgotten.
QList<PorResponder> TomarPorResponder(const QString& cuenta);

// While one lives, a reply put in the outbox answers that message: its mark
// goes in the same transaction, so a stop never leaves both.
class OrigenDeRespuesta {
public:
    OrigenDeRespuesta(const QString& cuenta, const QString& entrada);
    ~OrigenDeRespuesta();
    OrigenDeRespuesta(const OrigenDeRespuesta&) = delete;
    OrigenDeRespuesta& operator=(const OrigenDeRespuesta&) = delete;
};

// Answers the messages of the account whose marks were left: those whose row
// is stored are answered now; the others are imported again anyway.
void ResponderDejados(VistaRecepcion& vista, const QString& cuenta);

// For the outbox, inside its transaction on b.
void OlvidarOrigenEn(sqlite3* b);

}  // namespace reception
