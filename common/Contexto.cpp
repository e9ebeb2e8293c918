#include "common/Contexto.h"

#include <memory>

namespace common {

namespace {
struct Instancias {
    std::unique_ptr<components::AccesoDatos> datos, estadisticas;
    std::unique_ptr<components::Utilidades> util;
    std::unique_ptr<components::InfoEquipo> equipo;
    std::unique_ptr<components::Ini> ini;
    std::unique_ptr<components::Consultas> consultas;
    std::unique_ptr<components::Complemento> complemento;
    ContextoTrabajo contexto;
};

Instancias& Todo() {
    static Instancias i;
    return i;
}

template <typename T>
T& PrimerUso(std::unique_ptr<T>& p) {
    if (!p) p = std::make_unique<T>();
    return *p;
}
}  // namespace

components::AccesoDatos& Datos() { return PrimerUso(Todo().datos); }
components::AccesoDatos& DatosEstadisticas() { return PrimerUso(Todo().estadisticas); }
components::Utilidades& Util() { return PrimerUso(Todo().util); }
components::InfoEquipo& Equipo() { return PrimerUso(Todo().equipo); }
components::Ini& Ini() { return PrimerUso(Todo().ini); }
components::Consultas& Consultas() { return PrimerUso(Todo().consultas); }
components::Complemento& Complemento() { return PrimerUso(Todo().complemento); }

ContextoTrabajo& Contexto() { return Todo().contexto; }

void ReiniciarContexto() { Todo() = Instancias{}; }

}  // namespace common
