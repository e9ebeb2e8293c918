#pragma once
// Scripted answers for tests: a queue of answers, and every prompt recorded.
// When the queue runs out, the unattended policy answers.
#include "platform/ui/MsgBox.h"

#include <QList>

#include <deque>

namespace platform::ui {

class RespondedorGuionado : public Respondedor {
public:
    int Responder(const Pregunta& pregunta) override;

    void Encolar(int respuesta) { respuestas_.push_back(respuesta); }
    const QList<Pregunta>& Preguntas() const { return preguntas_; }
    void Limpiar() { preguntas_.clear(); respuestas_.clear(); }

private:
    std::deque<int> respuestas_;
    QList<Pregunta> preguntas_;
};

}  // namespace platform::ui
