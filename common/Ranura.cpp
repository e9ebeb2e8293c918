#include "common/Ranura.h"

#include "common/Contexto.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"

namespace common {

using namespace platform::runtime;

void EjecutarRanura(const std::function<void()>& cuerpo) {
    const PasosAparte aparte;
    try {
        cuerpo();
    } catch (const ProgramaFinalizado&) {
        throw;
    } catch (...) {
        try {
            Util().MostrarError(ErrorDesdeExcepcion());
        } catch (...) {}
    }
}

}  // namespace common
