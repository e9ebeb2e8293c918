#pragma once
// The mail-sending message, used as the old message object was: set To,
// From, Subject, HTMLBody and Configuration, then Send(). Send() composes a
// MIME message and delivers it over SMTP with the configuration in effect.
#include "platform/smtp/Configuracion.h"

#include <QList>
#include <QPair>
#include <QString>

#include <memory>

namespace platform::smtp {

// Failure numbers of the old object, which callers key their messages on.
namespace ErrCdo {
// No From, or a From whose address is not a simple address ("Nombre<a@b>").
// Checked before connecting.
constexpr long SinRemitente = -2147220979;           // 0x8004020D
// The server could not be resolved, reached or answered in time; also an
// empty or malformed server name.
constexpr long SinConexion = -2147220973;            // 0x80040213
// The server refused the login, the sender, the recipient or the message.
constexpr long EnvioRechazado = -2147220975;         // 0x80040211
// Our own check refused the recipient: not exactly one simple address
// (line breaks, several addresses, blanks, angle brackets...). Nothing is sent.
constexpr long DestinatarioRechazado = -2147220977;  // 0x8004020F
// "sendusing" is not 2: only sending through an SMTP port exists here.
constexpr long SendUsingNoValido = -2147220960;      // 0x80040220
}  // namespace ErrCdo
// Any other failure carries libcurl's own code and its description.

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

    void Send();

private:
    QList<QPair<QString, QString>> cabeceras_;
};

}  // namespace platform::smtp
