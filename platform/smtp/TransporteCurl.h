#pragma once
// One SMTP transfer through libcurl: connect, TLS as configured, log in when
// asked, MAIL FROM, one RCPT TO and DATA. Failures raise ErrorSistema with
// the numbers of Mensaje.h.
#include <QByteArray>
#include <QString>

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
};

// Waits for the server at most this long to accept the connection, and for
// the whole transfer at most the second: a dead server must not hold the
// window for minutes.
inline constexpr long SegundosConexion = 15;
inline constexpr long SegundosTotal = 60;

// Environment variable naming an extra CA file to trust (the tests' own).
inline constexpr char VariableCa[] = "RECEPCION_CA";

void EnviarPorCurl(const Envio& envio);

}  // namespace platform::smtp
