#pragma once
// What both test entry points set before any test runs.
#include "ApoyoPruebas.h"

#include <QFile>
#include <QTemporaryDir>

#include <ctime>
#include <memory>

namespace pruebas {

// Every test program runs in the same language and time zone.
inline void FijarEntorno() {
    qputenv("LANG", "C.UTF-8");
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("TZ", "Europe/Madrid");
    tzset();
}

// A temporary folder for the whole run, made the system's: whatever a test
// writes without a folder of its own (trace files, the log) goes there and
// is removed at the end.
inline std::unique_ptr<QTemporaryDir> FijarTemporal() {
    auto carpeta = std::make_unique<QTemporaryDir>();
    for (const char* nombre : {"TMPDIR", "TEMP", "TMP"}) qputenv(nombre, QFile::encodeName(carpeta->path()));
    return carpeta;
}

// FinalizarPrograma throws instead of ending the test program.
inline void FijarFinalizador() {
    platform::runtime::EstablecerFinalizador(
        [](int codigo) { throw ProgramaFinalizado{codigo}; });
}

}  // namespace pruebas
