#include "platform/smtp/TransporteCurl.h"

#include "platform/runtime/ErrorSistema.h"
#include "platform/smtp/Direcciones.h"
#include "platform/smtp/Mensaje.h"

#include <QUrl>

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace platform::smtp {

namespace {

struct Lectura {
    const QByteArray* datos;
    qsizetype enviados = 0;
};

size_t Leer(char* destino, size_t tamano, size_t cuantos, void* usuario) {
    auto* lectura = static_cast<Lectura*>(usuario);
    const size_t quedan = static_cast<size_t>(lectura->datos->size() - lectura->enviados);
    const size_t n = std::min(quedan, tamano * cuantos);
    std::memcpy(destino, lectura->datos->constData() + lectura->enviados, n);
    lectura->enviados += static_cast<qsizetype>(n);
    return n;
}

// Keeps the server's last reply, so a refusal is described in its own words.
// Only what the server says is kept; what we send (credentials) is not.
int Depurar(CURL*, curl_infotype tipo, char* datos, size_t tamano, void* usuario) {
    if (tipo == CURLINFO_HEADER_IN)
        *static_cast<QString*>(usuario) =
            EnUnaLinea(QString::fromUtf8(datos, static_cast<qsizetype>(tamano))).trimmed();
    return 0;
}

struct LiberarCurl {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct LiberarLista {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

QByteArray Url(const Envio& envio) {
    QUrl url;
    url.setScheme(envio.puerto == 465 ? QStringLiteral("smtps") : QStringLiteral("smtp"));
    url.setHost(envio.servidor.trimmed(), QUrl::StrictMode);
    url.setPort(envio.puerto);
    if (!url.isValid() || url.host().isEmpty())
        runtime::Lanzar(ErrCdo::SinConexion,
                        QStringLiteral("El nombre del servidor SMTP no es válido: %1")
                            .arg(Visible(envio.servidor)));
    return url.toEncoded();
}

[[noreturn]] void LanzarFallo(CURLcode resultado, long respuesta, const QString& ultimaRespuesta,
                              const char* bufer) {
    const QString curl = QString::fromUtf8(*bufer ? bufer : curl_easy_strerror(resultado));
    switch (resultado) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        runtime::Lanzar(ErrCdo::SinConexion,
                        QStringLiteral("No se pudo conectar con el servidor SMTP (%1)").arg(curl));
    case CURLE_LOGIN_DENIED:
        runtime::Lanzar(ErrCdo::EnvioRechazado,
                        ultimaRespuesta.isEmpty() ? curl : ultimaRespuesta);
    default:
        break;
    }
    // MAIL, RCPT or DATA answered with an error code: the server refused.
    if (respuesta >= 400 && (resultado == CURLE_SEND_ERROR || resultado == CURLE_RECV_ERROR ||
                             resultado == CURLE_WEIRD_SERVER_REPLY))
        runtime::Lanzar(ErrCdo::EnvioRechazado, ultimaRespuesta.isEmpty() ? curl : ultimaRespuesta);
    runtime::Lanzar(resultado, curl);
}

}  // namespace

void EnviarPorCurl(const Envio& envio) {
    static std::once_flag iniciado;
    std::call_once(iniciado, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    const QByteArray url = Url(envio);
    const QByteArray remitente = '<' + envio.remitente.toUtf8() + '>';
    const QByteArray usuario = envio.usuario.toUtf8();
    const QByteArray clave = envio.clave.toUtf8();
    const QByteArray ca = qgetenv(VariableCa);

    std::unique_ptr<CURL, LiberarCurl> curl(curl_easy_init());
    if (!curl) runtime::Lanzar(CURLE_OUT_OF_MEMORY, QStringLiteral("No se pudo iniciar el envío SMTP"));
    std::unique_ptr<curl_slist, LiberarLista> destinatarios(
        curl_slist_append(nullptr, ('<' + envio.destinatario.toUtf8() + '>').constData()));

    CURL* c = curl.get();
    char bufer[CURL_ERROR_SIZE] = {};
    QString ultimaRespuesta;
    Lectura lectura{&envio.datos};

    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, bufer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, SegundosConexion);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, SegundosTotal);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!ca.isEmpty()) curl_easy_setopt(c, CURLOPT_CAINFO, ca.constData());
    if (envio.ssl && envio.puerto != 465) curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    if (envio.autenticar) {
        curl_easy_setopt(c, CURLOPT_USERNAME, usuario.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, clave.constData());
    }
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, remitente.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, destinatarios.get());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, Leer);
    curl_easy_setopt(c, CURLOPT_READDATA, &lectura);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, Depurar);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &ultimaRespuesta);

    const CURLcode resultado = curl_easy_perform(c);
    if (resultado == CURLE_OK) return;
    long respuesta = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &respuesta);
    LanzarFallo(resultado, respuesta, ultimaRespuesta, bufer);
}

}  // namespace platform::smtp
