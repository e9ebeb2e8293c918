#include "reception/EnviarMail.h"

#include "common/Contexto.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/Pasos.h"
#include "platform/smtp/Configuracion.h"
#include "platform/smtp/Mensaje.h"
#include "platform/ui/MsgBox.h"
#include "reception/ResultadoRecepcion.h"
#include "reception/ProveedoresCorreo.h"

#include <cstdint>
#include <memory>

namespace reception {

namespace {

using platform::runtime::ErrorSistema;
namespace smtp = platform::smtp;
namespace ui = platform::ui;

struct Aviso {
    QString texto;
    QString titulo;
};

// What the operator is told about a failed send, by error number.
Aviso AvisoPara(const ErrorSistema& e) {
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

}  // namespace

void EnviarMail(VistaRecepcion& vista, const QString& mensaje, const QString& ctaEmail,
                const QString& asunto) {
    auto& datos = common::Datos();
    auto& util = common::Util();
    platform::db::Recordset rs;
    bool hayAjustes = true;
    QString servidor, usuario, clave, nombre, servidorOtro;
    std::unique_ptr<smtp::Mensaje> correo;
    std::shared_ptr<smtp::Configuracion> configuracion;
    smtp::CamposConfiguracion* campos = nullptr;
    ProveedorSmtp proveedor;
    // Whatever way the procedure ends, a reply that did not go is counted.
    struct Recuento {
        bool enviado = false;
        ~Recuento() {
            ++(enviado ? Resultado().respuestasEnviadas : Resultado().respuestasNoEnviadas);
        }
    } recuento;

    const platform::runtime::Manejador manejador = [&vista, &util](const ErrorSistema& e) {
        const Aviso aviso = AvisoPara(e);
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
        ui::MsgBox(QStringLiteral("NO HAY CORREO DE MAIL CONFIGURADO"), ui::Estilo::OKOnly);
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
            Objeto(correo.get()).Send();
            recuento.enviado = true;
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
