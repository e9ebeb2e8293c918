#include "reception/EnviarMail.h"

#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "common/ReportarError.h"
#include "platform/runtime/Entorno.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/Pasos.h"
#include "platform/smtp/Configuracion.h"
#include "platform/smtp/Direcciones.h"
#include "platform/smtp/Mensaje.h"
#include "platform/ui/MsgBox.h"
#include "reception/BandejaSalida.h"
#include "reception/EstadoPrograma.h"
#include "reception/ResultadoRecepcion.h"
#include "reception/ProveedoresCorreo.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace reception {

namespace {

using platform::runtime::ErrorSistema;
namespace smtp = platform::smtp;
namespace ui = platform::ui;

struct Aviso {
    QString texto;
    QString titulo;
};

const QString Rutina = QStringLiteral("EnviarMail");

// What the operator is told about a failed send, by error number; a refusal
// by the server says what it refused, except a refused login.
Aviso AvisoPara(const ErrorSistema& e, const smtp::ResultadoEnvio* envio) {
    switch (e.Numero) {
    case platform::runtime::Err::ActualizacionFallida:
        return {QStringLiteral("Los datos de cuenta no son correctos. Por favor verifique la "
                               "configuración de su Cuenta"),
                QStringLiteral("Aviso al Operador")};
    case smtp::ErrCdo::SinConexion:
        return {QStringLiteral(" No hay conexión a internet. Proceso cancelado."),
                QStringLiteral("Error al enviar correo")};
    case smtp::ErrCdo::SinRemitente:
        return {QStringLiteral("Faltan Datos. Verifique su Configuracion"),
                QStringLiteral("Error al enviar correo")};
    case smtp::ErrCdo::EnvioRechazado:
        if (envio && envio->error.Numero == e.Numero && !smtp::EsRechazoDeAutenticacion(*envio))
            return {e.Descripcion, QStringLiteral(" No se envió el correo ")};
        return {QStringLiteral("La dirección de correo y/o la contraseña\r\nno son correctas."),
                QStringLiteral(" No se envió el correo ")};
    default:
        return {e.Descripcion, QStringLiteral(" No se envió el correo. ")};
    }
}

// After a failed step the operator may choose to go on: an object that was
// never made then fails as the old runtime did (91), it does not crash.
template <class T>
T& Objeto(T* objeto) {
    if (!objeto) platform::runtime::Lanzar(platform::runtime::Err::ObjetoNoEstablecido);
    return *objeto;
}

int LimitePorHora() {
    QString aux;
    bool ok = false;
    const int limite = common::Cfg(QStringLiteral("EMAIL_RESPUESTAS_HORA"), aux).trimmed().toInt(&ok);
    return ok && limite >= 0 ? limite : RespuestasPorHora;
}

QString Quien(const RespuestaPendiente& r) {
    return QStringLiteral("Respuesta automática a %1 («%2»)").arg(smtp::Visible(r.destinatario), r.asunto);
}

// What becomes of the reply in the outbox once this attempt is over.
void Concluir(const RespuestaPendiente& r, const std::optional<smtp::ResultadoEnvio>& envio, bool reintento) {
    if (r.id <= 0) return;
    const int intento = r.intentos + 1;
    const QString error = envio ? envio->error.Descripcion : QStringLiteral("faltan los datos de envío");
    const smtp::Desenlace d = envio ? envio->desenlace : smtp::Desenlace::Permanente;
    if (d == smtp::Desenlace::Entregado) {
        QuitarRespuesta(r.id);
        if (reintento) common::AnotarAviso(QStringLiteral("%1: enviada en el intento %2").arg(Quien(r)).arg(intento), Rutina);
        return;
    }
    if (d == smtp::Desenlace::Temporal || d == smtp::Desenlace::Cancelado) {
        QDateTime proximo;
        if (Reprogramar(r.id, error, &proximo)) {
            common::AnotarAviso(QStringLiteral("%1: intento %2 fallido (%3); se reintentará desde %4")
                                    .arg(Quien(r)).arg(intento).arg(error, proximo.toString(Qt::ISODate)),
                                Rutina);
            return;
        }
        common::AnotarAviso(QStringLiteral("%1: descartada, no se pudo enviar en %2 horas (intento %3: %4)")
                                .arg(Quien(r)).arg(HorasEnBandeja).arg(intento).arg(error),
                            Rutina);
        return;
    }
    QuitarRespuesta(r.id);
    common::AnotarAviso(QStringLiteral("%1: no se reintenta (%2): %3")
                            .arg(Quien(r),
                                 d == smtp::Desenlace::Desconocido
                                     ? QStringLiteral("se desconoce si el servidor la recibió")
                                     : QStringLiteral("fallo permanente"),
                                 error),
                        Rutina);
}

}  // namespace

void EnviarMail(VistaRecepcion& vista, const QString& mensaje, const QString& ctaEmail,
                const QString& asunto) {
    RespuestaPendiente respuesta{0, ctaEmail, asunto, mensaje, 0, {}};
    respuesta.id = EncolarRespuesta(ctaEmail, asunto, mensaje, LimitePorHora());
    if (respuesta.id == LimiteAlcanzado) {
        common::AnotarAviso(QStringLiteral("%1: no se envía, la dirección ya recibió %2 respuestas en la última hora "
                                           "(EMAIL_RESPUESTAS_HORA)")
                                .arg(Quien(respuesta))
                                .arg(LimitePorHora()),
                            Rutina);
        return;
    }
    if (respuesta.id == SinBandeja)
        common::AnotarAviso(QStringLiteral("%1: no se pudo guardar en %2; se intenta una sola vez")
                                .arg(Quien(respuesta), ArchivoEstado()),
                            Rutina);
    EnviarRespuesta(vista, respuesta, false);
}

void EnviarRespuesta(VistaRecepcion& vista, const RespuestaPendiente& respuesta, bool reintento) {
    const QString& mensaje = respuesta.cuerpo;
    const QString& ctaEmail = respuesta.destinatario;
    const QString& asunto = respuesta.asunto;
    auto& datos = common::Datos();
    auto& util = common::Util();
    platform::db::Recordset rs;
    bool hayAjustes = true;
    QString servidor, usuario, clave, nombre, servidorOtro;
    std::unique_ptr<smtp::Mensaje> correo;
    std::shared_ptr<smtp::Configuracion> configuracion;
    smtp::CamposConfiguracion* campos = nullptr;
    ProveedorSmtp proveedor;
    std::optional<smtp::ResultadoEnvio> envio;
    // Whatever way the procedure ends, a first attempt that did not go is
    // counted, and the outbox learns what became of the reply.
    struct Cierre {
        const RespuestaPendiente& respuesta;
        const std::optional<smtp::ResultadoEnvio>& envio;
        bool reintento;
        ~Cierre() {
            const bool enviado = envio && envio->desenlace == smtp::Desenlace::Entregado;
            if (enviado)
                ++Resultado().respuestasEnviadas;
            else if (!reintento)
                ++Resultado().respuestasNoEnviadas;
            Concluir(respuesta, envio, reintento);
        }
    } cierre{respuesta, envio, reintento};

    const platform::runtime::Manejador manejador = [&](const ErrorSistema& e) {
        // A retry asks nothing: its outcome goes to the log.
        if (reintento) return platform::runtime::Accion::Salir;
        // Cancelling is the operator's own doing: nothing to tell.
        if (envio && envio->desenlace == smtp::Desenlace::Cancelado) return platform::runtime::Accion::Salir;
        const Aviso aviso = AvisoPara(e, envio ? &*envio : nullptr);
        ui::MsgBox(aviso.texto, ui::Estilo::OKOnly + ui::Estilo::Critical, aviso.titulo);
        vista.RestablecerPuntero();
        return platform::runtime::AccionPorRespuesta(util.MostrarError(e));
    };
    const auto campo = [&](const char* nombreCorto, const QVariant& valor) {
        Objeto(campos).Item(smtp::NombreCompleto(nombreCorto)) = valor;
    };

    if (!platform::runtime::EjecutarPasos(manejador, {
            [&] {
                hayAjustes = datos.BuscarRegistro(QStringLiteral("ta_usuarios"),
                                                  common::Contexto().UsuarioLogeado,
                                                  QStringLiteral("nombre"), rs, 8, QString(), true);
            },
        }))
        return;
    if (!hayAjustes) {
        // The program is not ended here: the message that asked for this
        // reply is not stored yet, so every restart would meet it again.
        if (!reintento) ui::MsgBox(QStringLiteral("NO HAY CORREO DE MAIL CONFIGURADO"), ui::Estilo::OKOnly);
        return;
    }

    platform::runtime::EjecutarPasos(manejador, {
        [&] { servidor = util.NoNulo(rs.Fields(QStringLiteral("eMail_Server"))); },
        [&] { usuario = util.NoNulo(rs.Fields(QStringLiteral("email_usuario"))); },
        [&] { clave = util.NoNulo(rs.Fields(QStringLiteral("email_Password"))); },
        [&] { nombre = util.NoNulo(rs.Fields(QStringLiteral("Email_Nombre"))); },
        [&] { servidorOtro = util.NoNulo(rs.Fields(QStringLiteral("email_ServerOtro"))); },
        // Nothing more is read: no need to hold the row while sending.
        [&] { datos.CerrarRecordset(rs); },

        [&] { correo = std::make_unique<smtp::Mensaje>(); },
        [&] { configuracion = std::make_shared<smtp::Configuracion>(); },
        [&] { campos = &Objeto(configuracion.get()).Fields(); },
        [&] { Objeto(configuracion.get()).Load(smtp::OrigenDefecto); },

        [&] { proveedor = ElegirProveedor(servidor, servidorOtro); },

        [&] { campo(smtp::NombreCampo::SendUsing, QVariant::fromValue<std::int16_t>(2)); },
        [&] { campo(smtp::NombreCampo::SmtpServer, proveedor.servidor); },
        [&] { campo(smtp::NombreCampo::SmtpServerPort, proveedor.puerto); },
        [&] { campo(smtp::NombreCampo::SmtpAuthenticate, QVariant::fromValue<std::int16_t>(1)); },
        [&] { campo(smtp::NombreCampo::SendUserName, usuario); },
        [&] { campo(smtp::NombreCampo::SendPassword, clave); },
        [&] { campo(smtp::NombreCampo::SmtpUseSsl, proveedor.ssl); },
        [&] { Objeto(campos).Update(); },

        [&] { Objeto(correo.get()).To = ctaEmail; },
        [&] {
            if (!usuario.isEmpty())
                Objeto(correo.get()).From = nombre + QLatin1Char('<') + usuario + QLatin1Char('>');
        },
        [&] { Objeto(correo.get()).Subject = asunto; },
        [&] { Objeto(correo.get()).HTMLBody = mensaje; },
        // Every message sent from here is an automatic reply: well-behaved
        // responders must not answer it back.
        [&] {
            Objeto(correo.get()).AgregarCabecera(QStringLiteral("Auto-Submitted"),
                                                 QStringLiteral("auto-replied"));
        },

        [&] { Objeto(correo.get()).Configuration = configuracion; },
        [&] {
            smtp::Mensaje& m = Objeto(correo.get());
            // The window keeps being served while the server is awaited, and "Cancelar" stops the send.
            m.Atender = [&vista] {
                platform::runtime::DoEvents();
                return !vista.CancelarRecepcion();
            };
            const qint64 id = respuesta.id;
            m.AntesDeDatos = [id] { return id <= 0 || MarcarEnCurso(id); };
            try {
                m.Send();
            } catch (const ErrorSistema&) {
                envio = m.UltimoEnvio();
                throw;
            }
            envio = m.UltimoEnvio();
        },

        [&] { vista.RestablecerPuntero(); },

        [&] {
            correo.reset();
            campos = nullptr;
            configuracion.reset();
        },
    });
}

}  // namespace reception
