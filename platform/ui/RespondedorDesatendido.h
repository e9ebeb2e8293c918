#pragma once
// Unattended answers: a fixed policy, each prompt logged to standard error.
// The answer that leaves the procedure: Abort where offered, else Cancel,
// else No, else OK. Never Retry, so an unattended run cannot loop.
#include "platform/ui/MsgBox.h"

namespace platform::ui {

class RespondedorDesatendido : public Respondedor {
public:
    explicit RespondedorDesatendido(bool registrar = true) : registrar_(registrar) {}
    int Responder(const Pregunta& pregunta) override;
    bool Desatendido() const override { return true; }

private:
    bool registrar_;
};

}  // namespace platform::ui
