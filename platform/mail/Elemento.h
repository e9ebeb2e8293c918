#pragma once
// One item of a mail folder (Outlook's MailItem) over one Maildir file.
// Copies share the item's state: the header block is read on the first
// header property, the whole message on the first body or attachment one.
#include "platform/mail/Adjunto.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

namespace platform::mail {

namespace detail {
struct EstadoElemento;
}

class Elemento {
public:
    // Neither opens the file: both come from the Maildir unique name.
    QString EntryID() const;
    QDateTime ReceivedTime() const;
    // The same time as seconds since the epoch, without working out the
    // local time (each local time costs the C library a look at the time
    // zone file); none when the file is gone.
    std::optional<qint64> SegundosRecibido() const;

    // Read from the header block only; error 438 when the file is not mail.
    QString Subject() const;
    QString SenderName() const;
    QString SenderEmailAddress() const;
    QString To() const;
    QString CC() const;
    QString ConversationID() const;
    QString Cabecera(const QString& nombre) const;
    QString TipoContenido() const;

    // Parse the whole message once; error 438 when the file is not mail.
    int BodyFormat() const;  // 0 none, 1 plain text, 2 HTML, 3 rich text
    QString Body() const;
    QString HTMLBody() const;
    Adjuntos Attachments() const;

    // The file behind the item, for messages to the operator.
    QString Ruta() const;

private:
    friend class Elementos;
    friend class LecturaAnticipada;
    explicit Elemento(std::shared_ptr<detail::EstadoElemento> estado);
    std::shared_ptr<detail::EstadoElemento> estado_;
};

}  // namespace platform::mail
