#include "startup/CompletarInicio.h"

#include "common/CargarConfiguracion.h"
#include "common/Contexto.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"
#include "startup/EnlazarEstadisticas.h"
#include "startup/GenerarConsultas.h"
#include "startup/RegistrarAcceso.h"

#include <QFileInfo>

namespace startup {

using namespace platform::runtime;

namespace {
using platform::db::Aislamiento::LecturaNoConfirmada;
}

void CompletarInicio(bool abrioConexion, const QString& rutaAplicacion) {
    auto& ctx = common::Contexto();
    auto& datos = common::Datos();
    auto& consultas = common::Consultas();
    bool conBase = false;
    QString ruta = rutaAplicacion;

    // Start-up's rule: error 5 skips a step, anything else ends start-up.
    EjecutarPasos(ReglaInicio(), {
        // 1: only on the connection start-up has just opened.
        Si(abrioConexion, {
            [] { EnlazarEstadisticas(); },
            [&] { datos.Conexion().SetCommandTimeout(ctx.TiempoEsperaComandos); },
            [&] { datos.Conexion().SetIsolationLevel(LecturaNoConfirmada); },
        }),
        // 2
        [&] { conBase = !datos.BaseDeDatos().isEmpty(); },
        Si(conBase, {
            [&] {
                ctx.CadenaOdbc = QStringLiteral("DSN=") + datos.BaseDeDatos() + QStringLiteral("; UID=") +
                                 datos.Usuario() + QStringLiteral("; PWD=") + datos.Password();
            },
            [&] { common::Complemento().SetCarpetaAplicacion(ruta); },
            [&] { datos.Conexion().SetDefaultDatabase(datos.BaseDeDatos()); },
            [&] { consultas.SetMotor(datos.Motor()); },
            [&] { consultas.SetActivo(true); },
            [&] {
                consultas.SetRutaCatalogo(common::Util().RutaConBarra(CarpetaAplicacion()) +
                                          QStringLiteral("consultas.crv"));
            },
            // An existing catalogue is never rewritten.
            [&] { if (!QFileInfo::exists(consultas.RutaCatalogo())) GenerarConsultas(); },
            [&] { datos.Conexion().SetDefaultDatabase(datos.BaseDeDatos()); },
            [&] { if (!datos.BaseDeDatos().isEmpty()) common::CargarConfiguracion(ruta); },
        }),
        // 3
        [] { RegistrarAcceso(QString()); },
    });
}

}  // namespace startup
