#pragma once
// What both test entry points set before any test runs.
#include "ApoyoPruebas.h"

#include <ctime>

namespace pruebas {

// Every test program runs in the same language and time zone.
inline void FijarEntorno() {
    qputenv("LANG", "C.UTF-8");
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("TZ", "Europe/Madrid");
    tzset();
}

// FinalizarPrograma throws instead of ending the test program.
inline void FijarFinalizador() {
    platform::runtime::EstablecerFinalizador(
        [](int codigo) { throw ProgramaFinalizado{codigo}; });
}

}  // namespace pruebas
