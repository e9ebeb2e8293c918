#pragma once
// Mail written by machines (auto-replies, delivery notices, lists): it is
// imported, but never answered, so two responders cannot loop.
#include "platform/mail/Elemento.h"

namespace reception {

bool EsCorreoAutomatico(const platform::mail::Elemento& elemento);

}  // namespace reception
