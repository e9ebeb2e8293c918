#pragma once
// The reception cycle on the window: "Recibir", the timer tick over the
// known accounts, and the test button. Only one import runs at a time.
#include "reception/VistaRecepcion.h"

namespace reception {

class CicloRecepcion {
public:
    explicit CicloRecepcion(VistaRecepcion& vista) : vista_(vista) {}

    // Returns false when refused because an import is running.
    bool Recibir();
    bool Tick();
    void Prueba();

    bool Importando() const { return importando_; }

private:
    // Every account present in V_MA_EMAILMOV, one after the other.
    void ImportarCuentasConocidas();

    VistaRecepcion& vista_;
    bool importando_ = false;
};

}  // namespace reception
