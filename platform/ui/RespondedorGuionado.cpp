#include "platform/ui/RespondedorGuionado.h"

#include "platform/ui/RespondedorDesatendido.h"

namespace platform::ui {

int RespondedorGuionado::Responder(const Pregunta& pregunta) {
    preguntas_.append(pregunta);
    if (respuestas_.empty()) return RespondedorDesatendido(false).Responder(pregunta);
    const int r = respuestas_.front();
    respuestas_.pop_front();
    return r;
}

}  // namespace platform::ui
