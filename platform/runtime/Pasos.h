#pragma once
// The step runner: the old "On Error" written as a list of steps.
// A procedure lists its steps in the order its rules number them; when a
// step fails, the handler decides: retry it, go on with the next, or leave.
// Three moves stand for the old jumps: leave the procedure (Exit Sub), a
// block of steps run only when a flag holds (If ... End If around several
// statements), and go on with the next item of a loop (GoTo siguiente).
#include "platform/runtime/ErrorSistema.h"

#include <functional>
#include <initializer_list>
#include <span>

namespace platform::runtime {

enum class Accion { Reintentar, Siguiente, Salir };

using Paso = std::function<void()>;
using Manejador = std::function<Accion(const ErrorSistema&)>;

// Runs the steps in order. Returns false when the procedure was left before
// its end (the handler chose to leave, here or in a nested runner, or a step
// called SalirDelProcedimiento), true when every step was run or skipped.
bool EjecutarPasos(const Manejador& manejador, std::initializer_list<Paso> pasos);

// For the body of a loop inside a procedure already run by EjecutarPasos:
// same handler, but "leave" unwinds to the procedure's own runner, so the
// whole procedure is left, not just this pass of the loop.
// Called outside any EjecutarPasos it raises error 5.
void EjecutarPasosAnidados(const Manejador& manejador, std::initializer_list<Paso> pasos);
// The same for a body built once and run for every item of a long loop.
void EjecutarPasosAnidados(const Manejador& manejador, std::span<const Paso> pasos);

// The moves. Each raises error 5 (an ErrorSistema) when it is used where it
// means nothing: outside a runner, or SiguienteElemento outside a loop body.

// From inside a step: leaves the innermost procedure run by EjecutarPasos
// (the whole procedure when called in a loop body or a block). The handler
// is not asked; EjecutarPasos returns false.
[[noreturn]] void SalirDelProcedimiento();

// A step made of steps run only when the flag holds. The flag is read when
// the block is reached, so an earlier step may set it. Each step of the
// block is a step of its own under the runner's handler: retry repeats it,
// next goes on with the block's next step, leave leaves the procedure.
Paso Si(const bool& condicion, std::initializer_list<Paso> pasos);
// The flag is read later, so it must outlive the call: not a temporary.
Paso Si(const bool&& condicion, std::initializer_list<Paso> pasos) = delete;

// From inside a step of a loop body (EjecutarPasosAnidados, or a block in
// it): skips the body's remaining steps; the loop goes on with its next item.
[[noreturn]] void SiguienteElemento();

struct NivelPasos;

// While one lives, no runner is under way: a Qt slot that runs from a nested
// event loop (a prompt, DoEvents) inside a step is a procedure of its own,
// and its moves never reach the runner of that step.
class PasosAparte {
public:
    PasosAparte();
    ~PasosAparte();
    PasosAparte(const PasosAparte&) = delete;
    PasosAparte& operator=(const PasosAparte&) = delete;

private:
    NivelPasos* guardado_;
};

// The error being handled, for handlers that pass it on (the old Err object).
// Any exception from a step that is not an ErrorSistema is mapped here.
ErrorSistema ErrorDesdeExcepcion();

// House handlers.
// Ask the operator: the function shows the error and returns the answer;
// 4 retries, 5 goes on, anything else leaves.
Manejador PreguntarOperador(std::function<int(const ErrorSistema&)> preguntar);
// Every failing step is skipped silently.
Manejador IgnorarErrores();
// Start-up's rule: error 5 skips the step, anything else leaves silently.
Manejador ReglaInicio();

// The answer-to-action rule shared by the operator handlers.
Accion AccionPorRespuesta(int respuesta);

}  // namespace platform::runtime
