#pragma once
// Qt slots never let an exception out: what escapes a slot's body is shown
// to the operator (MostrarError), never a crash.
#include <functional>
#include <utility>

namespace common {

// Runs a slot's body apart from any step runner under way (a slot may run
// from the nested event loop of a prompt or DoEvents inside a step). A
// failure is shown and swallowed, and so is a failure while showing it. Only
// a test's interception of the program's end passes.
void EjecutarRanura(const std::function<void()>& cuerpo);

// The body as a slot, for connect():
//   connect(boton, &QPushButton::clicked, this, Ranura([this] { ciclo_->Recibir(); }));
template <typename Cuerpo>
auto Ranura(Cuerpo cuerpo) {
    return [cuerpo = std::move(cuerpo)] { EjecutarRanura(cuerpo); };
}

}  // namespace common
