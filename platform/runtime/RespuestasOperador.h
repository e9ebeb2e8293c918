#pragma once
// The operator's answers to a prompt, numbered as the old message box gave
// them. Here, below the prompts, so the step runner can read them.

namespace platform::runtime::Respuesta {
constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Retry = 4;
constexpr int Ignore = 5;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace platform::runtime::Respuesta
