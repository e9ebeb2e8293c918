#pragma once
// Composition of the message text that goes after DATA: headers in 7-bit
// (RFC 2047 words for anything else) and the HTML body in UTF-8, encoded
// so that no line is too long and no byte is 8-bit.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace platform::smtp {

struct Composicion {
    QString nombreRemitente;
    QString direccionRemitente;  // already checked
    QString destinatario;        // already checked
    QString asunto;
    QString html;
    QList<QPair<QString, QString>> cabeceras;  // extra headers, names already checked
};

// The whole message with CRLF line ends. Line breaks in the subject, the
// display name or an extra header never reach the text raw.
QByteArray ComponerMime(const Composicion& c);

// True for a header name we may write: printable ASCII without ":" or blank,
// and not one of the headers the composition writes itself.
bool EsNombreCabeceraValido(const QString& nombre);

}  // namespace platform::smtp
