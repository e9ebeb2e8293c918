#pragma once
// Process facts the old runtime gave: environment, application folder and
// name, folder creation and listing, yielding and ending the program.
#include <QString>

#include <chrono>

#include <functional>

namespace platform::runtime {

// Environ$(nombre): "" when not set.
QString Entorno(const QString& nombre);

// The program's folder, without a trailing separator (App.Path): where it
// writes EMAIL/, Mails/ and consultas.crv. The one DecidirCarpetaAplicacion
// chose, else the executable's folder.
QString CarpetaAplicacion();
// Executable name without folder or extension (App.EXEName).
QString NombreEjecutable();
// The process's command line after the program's own options (Command$).
QString LineaComandos();
// Tests and the window's main() set these.
void EstablecerCarpetaAplicacion(const QString& carpeta);
void EstablecerNombreEjecutable(const QString& nombre);
void EstablecerLineaComandos(const QString& linea);
// Chosen once at start-up: the executable's folder when the user can write
// it and it is not an installed tree (<prefijo>/bin beside
// <prefijo>/share/recepcion-email), else $XDG_DATA_HOME/recepcion-email,
// made if missing. Returns the folder chosen.
QString DecidirCarpetaAplicacion(const QString& carpetaEjecutable);

// MkDir: 75 when the folder exists or cannot be created, 76 when its parent is missing.
void CrearCarpeta(const QString& ruta);
// Dir(ruta, vbDirectory) != "": true when the path names an existing file or
// folder. 52 when the path cannot be looked at (its root is unreachable).
bool ExisteRuta(const QString& ruta);

// Yields to the message loop (DoEvents).
void DoEvents();

// DoEvents for a loop that yields once per item: the message loop is asked
// at most once per interval, which keeps the window answering without a
// system poll for each of thousands of items. The first call always yields.
class DoEventsEspaciado {
public:
    explicit DoEventsEspaciado(std::chrono::milliseconds intervalo = std::chrono::milliseconds(10))
        : intervalo_(intervalo) {}
    void operator()();

private:
    std::chrono::steady_clock::duration intervalo_;
    std::chrono::steady_clock::time_point ultimo_{};
};

// What a test's interceptor throws for End; the step runner lets it pass.
struct ProgramaFinalizado {
    int codigo;
};

// End: stops the program at once. Tests install an interceptor that throws
// instead, so no test process ever exits here.
[[noreturn]] void FinalizarPrograma(int codigoSalida = 1);
// The interceptor must not return; if it does, the process exits anyway.
void EstablecerFinalizador(std::function<void(int)> finalizador);

}  // namespace platform::runtime
