#pragma once
// The step runner: the old "On Error" written as a list of steps.
// A procedure lists its steps in the order its rules number them; when a
// step fails, the handler decides: retry it, go on with the next, or leave.
#include "platform/runtime/ErrorSistema.h"

#include <functional>
#include <initializer_list>

namespace platform::runtime {

enum class Accion { Reintentar, Siguiente, Salir };

using Paso = std::function<void()>;
using Manejador = std::function<Accion(const ErrorSistema&)>;

// Runs the steps in order. Returns false when the handler chose to leave
// (here or in a nested runner), true when every step was run or skipped.
bool EjecutarPasos(const Manejador& manejador, std::initializer_list<Paso> pasos);

// For the body of a loop inside a procedure already run by EjecutarPasos:
// same handler, but "leave" unwinds to the procedure's own runner, so the
// whole procedure is left, not just this pass of the loop.
void EjecutarPasosAnidados(const Manejador& manejador, std::initializer_list<Paso> pasos);

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
