#pragma once
// Outlook's automation objects over a Maildir root:
// Aplicacion → GetNamespace("MAPI") → Folders(cuenta) → Folders(bandeja)
// → Items → Elemento → Attachments. Nothing here changes the store.
#include "platform/mail/Carpeta.h"

#include <QString>

namespace platform::mail {

class EspacioNombres {
public:
    explicit EspacioNombres(QString raiz);
    // The account's top-level folder, <raiz>/<cuenta>.
    Carpeta Folders(const QString& cuenta) const;

private:
    QString raiz_;
};

class Aplicacion {
public:
    explicit Aplicacion(QString raiz = RaizPredeterminada());
    // RECEPCION_CORREO when set, else ~/Mail.
    static QString RaizPredeterminada();
    QString Raiz() const { return raiz_; }
    // Only "MAPI" (any case) exists; anything else is error 5.
    EspacioNombres GetNamespace(const QString& tipo) const;

private:
    QString raiz_;
};

}  // namespace platform::mail
