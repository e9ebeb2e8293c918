#pragma once
// The working context: the process-wide values start-up fills and every
// procedure reads, and the single component instances, each created on
// first use and kept for the whole run.
#include "components/AccesoDatos.h"
#include "components/Complemento.h"
#include "components/Consultas.h"
#include "components/InfoEquipo.h"
#include "components/Ini.h"
#include "components/Utilidades.h"

#include <QString>

#include <cstdint>

namespace common {

components::AccesoDatos& Datos();
components::AccesoDatos& DatosEstadisticas();
components::Utilidades& Util();
components::InfoEquipo& Equipo();
components::Ini& Ini();
components::Consultas& Consultas();
components::Complemento& Complemento();

struct ContextoTrabajo {
    QString SeccionIni;
    double FlatToolbars = 0;
    QString UsuarioLogeado;
    QString ParametroAdicional;
    QString Menu;
    QString Caja;
    QString CadenaOdbc;
    std::int32_t ColorFondo = 0;
    std::int32_t ColorLetra = 0;
    std::int16_t TiempoEsperaComandos = 0;
    std::int32_t IdControlAcceso = 0;
};

// The one context of the process.
ContextoTrabajo& Contexto();

// Tests start each case from an empty context and fresh components.
void ReiniciarContexto();

}  // namespace common
