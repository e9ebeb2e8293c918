#include "reception/ResultadoRecepcion.h"

namespace reception {

ResultadoRecepcion& Resultado() {
    static ResultadoRecepcion resultado;
    return resultado;
}

}  // namespace reception
