#pragma once
// Helpers for the tests of the layers that prompt the operator.
#include "ApoyoPruebas.h"
#include "platform/ui/MsgBox.h"

#include <QList>

#include <deque>
#include <functional>
#include <memory>

namespace pruebas {

// Scripted answers: every prompt recorded, answered by the queue first, then
// by the function when one is set, else as the unattended program would.
// The function runs while the prompt is open, as a nested event loop would
// let other work run.
class GuionRespuestas : public platform::ui::Respondedor {
public:
    using Funcion = std::function<int(const platform::ui::Pregunta&)>;

    int Responder(const platform::ui::Pregunta& pregunta) override;

    void Encolar(int respuesta) { respuestas_.push_back(respuesta); }
    void AlPreguntar(Funcion funcion) { funcion_ = std::move(funcion); }
    // Every prompt answered OK; the first one runs the action while it is open.
    void OkTrasAccion(std::function<void()> accion);
    const QList<platform::ui::Pregunta>& Preguntas() const { return preguntas_; }
    void Limpiar() {
        preguntas_.clear();
        respuestas_.clear();
    }

private:
    std::deque<int> respuestas_;
    Funcion funcion_;
    QList<platform::ui::Pregunta> preguntas_;
};

// Installs a scripted answerer for the life of the object.
class PromptsGuionados {
public:
    PromptsGuionados();
    ~PromptsGuionados();
    GuionRespuestas& operator*() { return *guion_; }
    GuionRespuestas* operator->() { return guion_.get(); }

private:
    std::shared_ptr<GuionRespuestas> guion_;
    std::shared_ptr<platform::ui::Respondedor> anterior_;
};

}  // namespace pruebas
