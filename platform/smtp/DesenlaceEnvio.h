#pragma once
// How one send ended, told apart as its caller must: delivered, worth
// another try later, never worth another try, or not known (the message
// text went out and no answer came back, so the server may have it).
#include "platform/runtime/ErrorSistema.h"

#include <QString>

namespace platform::smtp {

// The step of the SMTP dialogue a send had reached.
enum class Fase {
    Conexion,       // opening the connection
    Saludo,         // greeting, EHLO, STARTTLS
    Autenticacion,  // AUTH
    Remitente,      // MAIL FROM
    Destinatario,   // RCPT TO
    InicioDatos,    // DATA, up to 354
    Datos,          // the message text
    FinDatos,       // the final dot, up to its answer
    Cierre,         // QUIT, after the outcome is known
};

enum class Desenlace {
    Entregado,
    Temporal,     // nothing was delivered; trying again later may work
    Permanente,   // nothing was delivered; trying again gives the same
    Desconocido,  // the server may have the message: never send it again
    Cancelado,    // the operator stopped it before the message text went out
};

struct ResultadoEnvio {
    Desenlace desenlace = Desenlace::Permanente;
    Fase fase = Fase::Conexion;   // where it ended
    int codigo = 0;               // the server's refusal code, 0 when none came
    QString respuesta;            // the server's refusal in its own words
    bool datosEmpezados = false;  // the message text had started to go
    runtime::ErrorSistema error;  // number 0 when delivered
};

// A refusal of the login: the answers 530, 534 and 535, or any refusal
// during AUTH.
bool EsRechazoDeAutenticacion(const ResultadoEnvio& r);

// The outcome of a send that ended with a server answer of the given code
// (0 when no answer came) in the given step.
Desenlace DesenlacePorRespuesta(int codigo, Fase fase, bool datosEmpezados);

// The error to raise for a refusal: what the server refused, in Spanish,
// followed by its own answer.
runtime::ErrorSistema ErrorDeRechazo(const ResultadoEnvio& r);

// The step's name in the texts above ("el remitente", "el mensaje"...).
QString QueSeRechazo(Fase fase);

}  // namespace platform::smtp
