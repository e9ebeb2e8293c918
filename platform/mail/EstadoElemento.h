#pragma once
// Private to the mail store: what an item knows of its file, read lazily.
#include "platform/mail/Contenido.h"

#include <QByteArray>
#include <QDateTime>

#include <memory>

namespace platform::mail::detail {

struct EstadoElemento {
    EstadoElemento(QByteArray carpeta, QByteArray nombre, qsizetype largoUnico, bool enNew);

    QByteArray carpeta;  // the Maildir folder holding cur/ and new/
    QByteArray ruta;     // the file, as the file system spells it
    QByteArray unico;    // the unique name: the file name before ":2,"

    // The header block parsed on its own; error 438 when it is not mail.
    GMimeMessage* Cabeceras();
    // The whole message; error 438 when it is not mail.
    Contenido& ContenidoCompleto();
    std::shared_ptr<const Contenido> ContenidoCompartido();

    QDateTime Recibido() const;

private:
    bool Reubicar();
    int AbrirArchivo();
    [[noreturn]] void NoEsCorreo() const;

    bool leidas_ = false;
    Ref<GMimeMessage> cabeceras_;
    std::shared_ptr<Contenido> contenido_;
};

// Unique name of a Maildir file name: everything before ":2,".
qsizetype LargoNombreUnico(const QByteArray& nombre);

}  // namespace platform::mail::detail
