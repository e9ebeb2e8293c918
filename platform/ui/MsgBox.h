#pragma once
// Operator prompts with the old message-box styles and answers.
// Who answers is set once per process: Qt dialogs, a script (tests) or a
// fixed unattended policy.
#include "platform/runtime/RespuestasOperador.h"

#include <QString>

#include <memory>

namespace platform::ui {

// Button styles (low bits) and icons, added together as the old constants were.
namespace Estilo {
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
}  // namespace Estilo

namespace Respuesta = runtime::Respuesta;

struct Pregunta {
    QString texto;
    int estilo = 0;
    QString titulo;
};

class Respondedor {
public:
    virtual ~Respondedor() = default;
    virtual int Responder(const Pregunta& pregunta) = 0;
    // Nobody reads the prompts: callers that would stop for an answer go on instead.
    virtual bool Desatendido() const { return false; }
};

// Shows the prompt through the current answerer and returns its answer.
// With an empty title the application's name is used, as before.
int MsgBox(const QString& texto, int estilo = 0, const QString& titulo = {});

// Replaces the answerer; returns the previous one.
std::shared_ptr<Respondedor> EstablecerRespondedor(std::shared_ptr<Respondedor> respondedor);
std::shared_ptr<Respondedor> RespondedorActual();
// Whether the current answerer is the unattended one (none set counts as unattended).
bool Desatendido();

// The buttons a style offers, as answers, in order.
QList<int> BotonesDeEstilo(int estilo);

}  // namespace platform::ui
