#pragma once
// Helpers for the tests of the layers that prompt the operator.
#include "ApoyoPruebas.h"
#include "platform/ui/RespondedorGuionado.h"

#include <memory>

namespace pruebas {

// Installs a scripted answerer for the life of the object.
class PromptsGuionados {
public:
    PromptsGuionados();
    ~PromptsGuionados();
    platform::ui::RespondedorGuionado& operator*() { return *guion_; }
    platform::ui::RespondedorGuionado* operator->() { return guion_.get(); }

private:
    std::shared_ptr<platform::ui::RespondedorGuionado> guion_;
    std::shared_ptr<platform::ui::Respondedor> anterior_;
};

}  // namespace pruebas
