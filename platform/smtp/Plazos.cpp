#include "platform/smtp/Plazos.h"

namespace platform::smtp {

namespace {
Plazos& Vigentes() {
    static Plazos plazos;
    return plazos;
}
}  // namespace

const Plazos& PlazosVigentes() { return Vigentes(); }

void EstablecerPlazos(const Plazos& plazos) { Vigentes() = plazos; }

}  // namespace platform::smtp
