#pragma once
// The mail-sending message, used as the old message object was: set To,
// From, Subject, HTMLBody and Configuration, then Send(). Send() composes a
// MIME message and delivers it over SMTP with the configuration in effect.
#include "platform/runtime/CatalogoErrores.h"
#include "platform/smtp/Configuracion.h"
#include "platform/smtp/DesenlaceEnvio.h"

#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <memory>

namespace platform::smtp {

// Failure numbers of the old object (in the catalogue), which callers key their messages on.
namespace ErrCdo = runtime::ErrCdo;

class Mensaje {
public:
    Mensaje();

    QString To;        // exactly one address
    QString From;      // "Nombre<usuario>" or a bare address
    QString Subject;
    QString HTMLBody;
    // Shared as the old object was: changes made through either holder and
    // put into effect with Update() are seen by Send().
    std::shared_ptr<Configuracion> Configuration;

    // Adds a header of ours, e.g. ("Auto-Submitted", "auto-replied"). A name
    // that is not a plain header name, or one the message writes itself
    // (From, Subject, Content-Type...), raises 5.
    void AgregarCabecera(const QString& nombre, const QString& valor);
    const QList<QPair<QString, QString>>& Cabeceras() const { return cabeceras_; }

    // Called about every 20 ms while the server is awaited; false stops
    // the send (see Envio in TransporteCurl.h, as antesDeDatos below).
    std::function<bool()> Atender;
    std::function<bool()> AntesDeDatos;

    // Raises the failure's ErrorSistema; UltimoEnvio() then tells how it ended.
    void Send();
    const ResultadoEnvio& UltimoEnvio() const { return ultimo_; }

private:
    void Enviar();

    QList<QPair<QString, QString>> cabeceras_;
    ResultadoEnvio ultimo_;
};

}  // namespace platform::smtp
