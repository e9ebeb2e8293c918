#include "ApoyoVentana.h"

#include "platform/ui/RespondedorDesatendido.h"

namespace pruebas {

int GuionRespuestas::Responder(const platform::ui::Pregunta& pregunta) {
    preguntas_.append(pregunta);
    if (!respuestas_.empty()) {
        const int r = respuestas_.front();
        respuestas_.pop_front();
        return r;
    }
    if (funcion_) return funcion_(pregunta);
    return platform::ui::RespondedorDesatendido(false).Responder(pregunta);
}

void GuionRespuestas::OkTrasAccion(std::function<void()> accion) {
    AlPreguntar([accion = std::move(accion)](const platform::ui::Pregunta&) mutable {
        if (accion) std::exchange(accion, nullptr)();
        return platform::ui::Respuesta::OK;
    });
}

PromptsGuionados::PromptsGuionados()
    : guion_(std::make_shared<GuionRespuestas>()), anterior_(platform::ui::EstablecerRespondedor(guion_)) {}

PromptsGuionados::~PromptsGuionados() { platform::ui::EstablecerRespondedor(anterior_); }

}  // namespace pruebas
