#pragma once
// A folder of the mail store (Outlook's MAPIFolder): a directory under the
// store's root; the one holding cur/ and new/ has items.
#include "platform/mail/Elementos.h"

#include <QString>

namespace platform::mail {

class Carpeta {
public:
    Carpeta(QString ruta, QString nombre);

    QString Name() const { return nombre_; }
    QString Ruta() const { return ruta_; }

    // The subfolder of that name, matched without regard to case when no
    // name matches exactly. "Bandeja de entrada" falls back to INBOX.
    // A missing folder raises Outlook's "object not found".
    Carpeta Folders(const QString& nombre) const;

    // A fresh listing at each call, as Outlook's Items is.
    Elementos Items() const;

private:
    QString ruta_;
    QString nombre_;
};

}  // namespace platform::mail
