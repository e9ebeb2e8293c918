#pragma once
// How long one send waits: 15 s for the connection to open, then each
// server answer the time RFC 5321 (4.5.3.2) gives it, and never more than
// five minutes in all. Tests put shorter times in effect.
#include <chrono>

namespace platform::smtp {

using Milisegundos = std::chrono::milliseconds;

struct Plazos {
    Milisegundos conexion{15'000};       // the TCP connection (and name look-up)
    Milisegundos saludo{300'000};        // the greeting, EHLO, STARTTLS and AUTH answers
    Milisegundos remitente{300'000};     // MAIL
    Milisegundos destinatario{300'000};  // RCPT
    Milisegundos inicioDatos{120'000};   // DATA, up to 354
    Milisegundos bloqueDatos{180'000};   // each block of the message text
    Milisegundos finDatos{600'000};      // the final dot, up to its answer
    Milisegundos total{300'000};         // the whole send, the cap on all of the above
};

// The times in effect for every send of the process.
const Plazos& PlazosVigentes();
void EstablecerPlazos(const Plazos& plazos);

}  // namespace platform::smtp
