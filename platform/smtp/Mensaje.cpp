#include "platform/smtp/Mensaje.h"

#include "platform/runtime/ErrorSistema.h"
#include "platform/smtp/ComposicionMime.h"
#include "platform/smtp/Direcciones.h"
#include "platform/smtp/TransporteCurl.h"

namespace platform::smtp {

namespace {

constexpr int PuertoDefecto = 25;
constexpr int EnviarPorPuerto = 2;

bool ValorLogico(const QVariant& v) {
    if (v.typeId() == QMetaType::Bool) return v.toBool();
    const QString t = v.toString().trimmed();
    bool numero = false;
    const long n = t.toLong(&numero);
    return numero ? n != 0 : t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
}

// The configuration in effect, as the transfer needs it.
Envio Transferencia(const Configuracion& conf) {
    if (conf.Valor(NombreCampo::SendUsing).toString().trimmed().toInt() != EnviarPorPuerto)
        runtime::Lanzar(ErrCdo::SendUsingNoValido,
                        QStringLiteral("El valor de configuración sendusing no es válido"));
    Envio envio;
    envio.servidor = conf.Valor(NombreCampo::SmtpServer).toString().trimmed();
    if (envio.servidor.isEmpty())
        runtime::Lanzar(ErrCdo::SinConexion, QStringLiteral("No hay servidor SMTP configurado"));
    const QString puerto = conf.Valor(NombreCampo::SmtpServerPort).toString().trimmed();
    envio.puerto = puerto.isEmpty() ? PuertoDefecto : puerto.toInt();
    envio.ssl = ValorLogico(conf.Valor(NombreCampo::SmtpUseSsl));
    envio.autenticar = conf.Valor(NombreCampo::SmtpAuthenticate).toString().trimmed().toInt() != 0;
    envio.usuario = conf.Valor(NombreCampo::SendUserName).toString();
    envio.clave = conf.Valor(NombreCampo::SendPassword).toString();
    return envio;
}

}  // namespace

Mensaje::Mensaje() : Configuration(std::make_shared<Configuracion>()) {}

void Mensaje::AgregarCabecera(const QString& nombre, const QString& valor) {
    if (!EsNombreCabeceraValido(nombre))
        runtime::Lanzar(runtime::Err::ArgumentoNoValido,
                        QStringLiteral("Nombre de cabecera no válido: %1").arg(Visible(nombre)));
    cabeceras_.append({nombre, valor});
}

void Mensaje::Send() {
    // A failure before the transfer is one of settings or addresses: permanent.
    ultimo_ = ResultadoEnvio{};
    try {
        Enviar();
    } catch (const runtime::ErrorSistema& e) {
        if (ultimo_.error.Numero == 0) ultimo_.error = e;
        throw;
    }
}

void Mensaje::Enviar() {
    if (From.trimmed().isEmpty())
        runtime::Lanzar(ErrCdo::SinRemitente, QStringLiteral("Falta el remitente (From) del mensaje"));
    const auto remitente = SepararRemitente(From);
    if (!remitente)
        runtime::Lanzar(ErrCdo::SinRemitente, QStringLiteral("La dirección del remitente no es válida: %1")
                                                  .arg(Visible(From)));
    if (!EsDireccionSimple(To))
        runtime::Lanzar(ErrCdo::DestinatarioRechazado,
                        QStringLiteral("La dirección del destinatario no es válida: %1").arg(Visible(To)));

    const Configuracion defecto;
    Envio envio = Transferencia(Configuration ? *Configuration : defecto);
    envio.remitente = remitente->direccion;
    envio.destinatario = To;
    envio.datos = ComponerMime({remitente->nombre, remitente->direccion, To, Subject, HTMLBody,
                                cabeceras_});
    envio.atender = Atender;
    envio.antesDeDatos = AntesDeDatos;
    ultimo_ = EnviarPorCurl(envio);
    if (ultimo_.desenlace != Desenlace::Entregado) throw ultimo_.error;
}

}  // namespace platform::smtp
