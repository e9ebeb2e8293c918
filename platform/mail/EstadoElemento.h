#pragma once
// Private to the mail store: what an item knows of its file, read lazily.
#include "platform/mail/Contenido.h"

#include <QByteArray>
#include <QDateTime>

#include <sys/stat.h>

#include <memory>
#include <optional>

namespace platform::mail::detail {

// What the one stat of the file said.
struct DatosArchivo {
    bool leidos = false;
    bool existe = false;
    bool regular = false;  // only a regular file is ever opened
    qint64 segundos = 0;   // modification time
    qint64 tamano = 0;
};

struct EstadoElemento {
    EstadoElemento(QByteArray carpeta, QByteArray nombre, qsizetype largoUnico, bool enNew);

    QByteArray carpeta;  // the Maildir folder holding cur/ and new/
    QByteArray ruta;     // the file, as the file system spells it
    QByteArray unico;    // the unique name: the file name before ":2,"

    // The header block parsed on its own; error 438 when it is not mail.
    GMimeMessage* Cabeceras();
    // The subject read straight from the header block, without building the
    // parsed message; empty when only a full parse can tell.
    std::optional<QString> AsuntoSinAnalizar();
    // The whole message; error 438 when it is not mail.
    Contenido& ContenidoCompleto();
    std::shared_ptr<const Contenido> ContenidoCompartido();

    QDateTime Recibido();
    const DatosArchivo& Datos();
    // The stat taken for this file by a thread that ran ahead: Datos() then
    // asks the file system nothing.
    void FijarDatos(const DatosArchivo& datos);
    // The entry identifier, made from the unique name once: the look-ahead
    // thread asks before the item is handed over, the import after.
    const QString& Entrada();

    // Reading ahead: the whole file read once, its header block and the
    // whole message parsed, the stored body decoded. Never raises: what
    // cannot be read here is met again, lazily, by the property that asks.
    void Cargar();
    // Reading ahead of a known message: only its header block, for the subject.
    void LeerBloque();

private:
    bool Reubicar();
    int AbrirArchivo();
    [[noreturn]] void NoEsCorreo() const;

    GByteArray* LeerTodo();  // null when the file cannot be opened

    DatosArchivo datos_;
    std::optional<QString> entrada_;
    bool leido_ = false;
    QByteArray bloque_;  // the header block, closed by a blank line; empty when there is none
    bool leidas_ = false;
    Ref<GMimeMessage> cabeceras_;
    std::shared_ptr<Contenido> contenido_;
};

// What the item keeps of a file's stat.
DatosArchivo DatosDe(const struct stat& datos);

// Unique name of a Maildir file name: everything before ":2,".
qsizetype LargoNombreUnico(const QByteArray& nombre);

// The unique name without the ",X=value" fields synchronisers add or rewrite
// (mbsync's ",U=uid", Dovecot's ",S=size" and ",W=size").
QByteArray SinCampos(const QByteArray& unico);

}  // namespace platform::mail::detail
