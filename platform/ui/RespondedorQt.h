#pragma once
// Answers through a modal QMessageBox.
#include "platform/ui/MsgBox.h"

namespace platform::ui {

class RespondedorQt : public Respondedor {
public:
    int Responder(const Pregunta& pregunta) override;
};

}  // namespace platform::ui
