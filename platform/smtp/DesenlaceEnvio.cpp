#include "platform/smtp/DesenlaceEnvio.h"

#include "platform/runtime/CatalogoErrores.h"

namespace platform::smtp {

bool EsRechazoDeAutenticacion(const ResultadoEnvio& r) {
    if (r.codigo == 530 || r.codigo == 534 || r.codigo == 535) return true;
    return r.fase == Fase::Autenticacion && r.codigo >= 500;
}

Desenlace DesenlacePorRespuesta(int codigo, Fase fase, bool datosEmpezados) {
    // A definite answer says what happened, even after the message text.
    if (codigo >= 400 && codigo < 500) return Desenlace::Temporal;
    if (codigo >= 500) return Desenlace::Permanente;
    // No answer: once the text has started, the server may have it all.
    if (datosEmpezados || fase == Fase::FinDatos) return Desenlace::Desconocido;
    return Desenlace::Temporal;
}

QString QueSeRechazo(Fase fase) {
    switch (fase) {
    case Fase::Conexion:
    case Fase::Saludo: return QStringLiteral("la conexión");
    case Fase::Autenticacion: return QStringLiteral("el usuario y la contraseña");
    case Fase::Remitente: return QStringLiteral("el remitente");
    case Fase::Destinatario: return QStringLiteral("el destinatario");
    case Fase::InicioDatos:
    case Fase::Datos:
    case Fase::FinDatos:
    case Fase::Cierre: return QStringLiteral("el mensaje");
    }
    return QStringLiteral("el mensaje");
}

runtime::ErrorSistema ErrorDeRechazo(const ResultadoEnvio& r) {
    const QString temporal =
        r.codigo >= 400 && r.codigo < 500 ? QStringLiteral(" por ahora") : QString();
    return {runtime::ErrCdo::EnvioRechazado,
            QStringLiteral("El servidor de correo no aceptó %1%2. Su respuesta: %3")
                .arg(QueSeRechazo(r.fase), temporal, r.respuesta),
            QString()};
}

}  // namespace platform::smtp
