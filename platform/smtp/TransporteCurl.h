#pragma once
// One SMTP transfer through libcurl: connect, TLS as configured, log in when
// asked, MAIL FROM, one RCPT TO and DATA. The transfer runs on a thread of
// its own while the caller's thread keeps being served, so a slow or silent
// server never freezes the window.
#include "platform/smtp/DesenlaceEnvio.h"
#include "platform/smtp/Plazos.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace platform::smtp {

struct Envio {
    QString servidor;    // host name or address, not empty
    int puerto = 25;
    bool ssl = false;    // TLS required: implicit on 465, STARTTLS on any other port
    bool autenticar = false;
    QString usuario;
    QString clave;
    QString remitente;     // envelope sender, already checked
    QString destinatario;  // the one recipient, already checked
    QByteArray datos;      // the composed message, CRLF line ends
    Plazos plazos = PlazosVigentes();
    // Called on the caller's thread about every 20 ms while the transfer
    // runs; false stops it (the operator cancelled).
    std::function<bool()> atender;
    // Called once, on the transfer's thread, just before the first byte of
    // the message text goes out; false stops the send there, with nothing
    // delivered. After it the outcome of a lost connection is unknown.
    std::function<bool()> antesDeDatos;
};

// Environment variable naming an extra CA file to trust (the tests' own).
inline constexpr char VariableCa[] = "RECEPCION_CA";

// Never raises: the outcome carries the error to raise.
ResultadoEnvio EnviarPorCurl(const Envio& envio);

}  // namespace platform::smtp
