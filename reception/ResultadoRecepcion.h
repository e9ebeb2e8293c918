#pragma once
// What the imports of this run did and left undone, for the summary line and
// the exit status of an unattended run. Counted by the import, read once at the end.
namespace reception {

struct ResultadoRecepcion {
    int pasados = 0;     // messages passed over after a failure
    int apartados = 0;   // messages met set aside, not tried
    int abandonadas = 0; // imports of an account left before their end
    int respuestasNoEnviadas = 0;
    int nuevos = 0;          // rows stored
    int conocidos = 0;       // messages already stored, passed over
    int fueraDelPeriodo = 0; // messages received before the imported period
    int respuestasEnviadas = 0;
    int noSonCorreo = 0;  // files of the inbox that are not mail; not a failure
};

ResultadoRecepcion& Resultado();

}  // namespace reception
