#include "reception/ReenvioRespuestas.h"

#include "common/ReportarError.h"
#include "platform/smtp/Direcciones.h"
#include "reception/BandejaSalida.h"
#include "reception/EnviarMail.h"

namespace reception {

void ReenviarPendientes(VistaRecepcion& vista) {
    for (const auto& [respuesta, motivo] : RetirarCaducadas())
        common::AnotarAviso(
            QStringLiteral("Respuesta automática a %1 («%2»): descartada, %3")
                .arg(platform::smtp::Visible(respuesta.destinatario), respuesta.asunto, motivo),
            QStringLiteral("EnviarMail"));
    while (!vista.CancelarRecepcion()) {
        const auto respuesta = TomarPendiente();
        if (!respuesta) break;
        EnviarRespuesta(vista, *respuesta, true);
    }
}

}  // namespace reception
