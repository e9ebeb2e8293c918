#include "ApoyoVentana.h"

namespace pruebas {

PromptsGuionados::PromptsGuionados()
    : guion_(std::make_shared<platform::ui::RespondedorGuionado>()),
      anterior_(platform::ui::EstablecerRespondedor(guion_)) {}

PromptsGuionados::~PromptsGuionados() { platform::ui::EstablecerRespondedor(anterior_); }

}  // namespace pruebas
