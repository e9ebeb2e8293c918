#include "platform/smtp/TransporteCurl.h"

#include "platform/runtime/ErrorSistema.h"
#include "platform/smtp/Direcciones.h"
#include "platform/smtp/SeguimientoSmtp.h"

#include <QUrl>

#include <curl/curl.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace platform::smtp {

namespace {

using runtime::ErrCdo::SinConexion;
using Parada = SeguimientoSmtp::Parada;

// What the transfer's thread reads and writes; the caller's thread only
// looks at it once that thread has ended.
struct Transferencia {
    const Envio& envio;
    SeguimientoSmtp seguimiento;
    CURL* curl = nullptr;
    qsizetype enviados = 0;
    bool primerBloque = true;
};

size_t Leer(char* destino, size_t tamano, size_t cuantos, void* usuario) {
    auto* t = static_cast<Transferencia*>(usuario);
    if (t->primerBloque) {
        t->primerBloque = false;
        if (t->envio.antesDeDatos && !t->envio.antesDeDatos()) {
            t->seguimiento.EstadoNoAnotado();
            return CURL_READFUNC_ABORT;
        }
        t->seguimiento.DatosEmpezados();
    }
    const QByteArray& datos = t->envio.datos;
    const size_t n = std::min(static_cast<size_t>(datos.size() - t->enviados), tamano * cuantos);
    std::memcpy(destino, datos.constData() + t->enviados, n);
    t->enviados += static_cast<qsizetype>(n);
    t->seguimiento.BloqueDatos(n == 0);
    return n;
}

// Follows the dialogue. What we send (credentials) is looked at for its
// command word only and never kept.
int Depurar(CURL*, curl_infotype tipo, char* datos, size_t tamano, void* usuario) {
    auto& s = static_cast<Transferencia*>(usuario)->seguimiento;
    const QByteArray linea(datos, static_cast<qsizetype>(tamano));
    if (tipo == CURLINFO_HEADER_IN)
        s.Recibido(linea);
    else if (tipo == CURLINFO_HEADER_OUT)
        s.Enviado(linea);
    return 0;
}

// Called by libcurl at least once a second in every step, also while it
// waits for the final answer and for the goodbye.
int Progreso(void* usuario, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transferencia*>(usuario);
    if (!t->seguimiento.EstaConectado()) {
        curl_off_t conectado = 0;
        if (curl_easy_getinfo(t->curl, CURLINFO_CONNECT_TIME_T, &conectado) == CURLE_OK &&
            conectado > 0)
            t->seguimiento.Conectado();
    }
    return t->seguimiento.Detener() ? 1 : 0;
}

struct LiberarCurl {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct LiberarLista {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

QString NombreFase(Fase fase) {
    switch (fase) {
    case Fase::Conexion: return QStringLiteral("al conectar");
    case Fase::Saludo: return QStringLiteral("al saludo");
    case Fase::Autenticacion: return QStringLiteral("al inicio de sesión");
    case Fase::Remitente: return QStringLiteral("al remitente");
    case Fase::Destinatario: return QStringLiteral("al destinatario");
    case Fase::InicioDatos: return QStringLiteral("a DATA");
    case Fase::Datos: return QStringLiteral("al texto del mensaje");
    case Fase::FinDatos: return QStringLiteral("al final del mensaje");
    case Fase::Cierre: return QStringLiteral("a QUIT");
    }
    return {};
}

ResultadoEnvio Fallo(Desenlace desenlace, long numero, const QString& descripcion) {
    ResultadoEnvio r;
    r.desenlace = desenlace;
    r.error = {numero, descripcion, QString()};
    return r;
}

// The outcome, from libcurl's code and what the dialogue showed.
ResultadoEnvio Clasificar(CURLcode codigo, const SeguimientoSmtp& s, const char* bufer) {
    const QString curl = QString::fromUtf8(*bufer ? bufer : curl_easy_strerror(codigo));
    const bool datos = s.HayDatosEmpezados();
    const Desenlace sinRespuesta = DesenlacePorRespuesta(0, s.FaseActual(), datos);
    ResultadoEnvio r;
    if (codigo == CURLE_OK) {
        r.desenlace = Desenlace::Entregado;
    } else if (s.Motivo() == Parada::Cancelada) {
        r = Fallo(datos ? Desenlace::Desconocido : Desenlace::Cancelado, SinConexion,
                  QStringLiteral("Envío cancelado por el operador"));
    } else if (s.Motivo() == Parada::EstadoNoAnotado) {
        r = Fallo(
            Desenlace::Temporal, runtime::Err::ErrorAccesoRuta,
            QStringLiteral("No se pudo anotar el envío en el estado del programa; no se envió"));
    } else if (s.CodigoRechazo() >= 400) {
        r.codigo = s.CodigoRechazo();
        r.respuesta = s.Rechazo();
        r.fase = s.FaseRechazo();
        r.datosEmpezados = datos;
        r.desenlace = DesenlacePorRespuesta(r.codigo, r.fase, datos);
        r.error = ErrorDeRechazo(r);
        return r;
    } else if (s.Motivo() == Parada::SinConexion || codigo == CURLE_COULDNT_CONNECT ||
               codigo == CURLE_COULDNT_RESOLVE_HOST || codigo == CURLE_COULDNT_RESOLVE_PROXY) {
        r = Fallo(Desenlace::Temporal, SinConexion,
                  QStringLiteral("No se pudo conectar con el servidor SMTP (%1)").arg(curl));
    } else if (s.Motivo() == Parada::SinRespuesta || codigo == CURLE_OPERATION_TIMEDOUT) {
        r = Fallo(sinRespuesta, SinConexion,
                  QStringLiteral("El servidor SMTP no respondió a tiempo %1")
                      .arg(NombreFase(s.FaseActual())));
    } else if (codigo == CURLE_LOGIN_DENIED) {
        r = Fallo(Desenlace::Permanente, runtime::ErrCdo::EnvioRechazado, curl);
        r.fase = Fase::Autenticacion;
        return r;
    } else if (codigo == CURLE_RECV_ERROR || codigo == CURLE_SEND_ERROR ||
               codigo == CURLE_GOT_NOTHING || codigo == CURLE_WEIRD_SERVER_REPLY ||
               codigo == CURLE_PARTIAL_FILE) {
        r = Fallo(sinRespuesta, SinConexion,
                  QStringLiteral("Se cortó la conexión con el servidor SMTP %1 (%2)")
                      .arg(NombreFase(s.FaseActual()), curl));
    } else {
        // TLS and everything else: the same again would fail the same way.
        r = Fallo(Desenlace::Permanente, codigo, curl);
    }
    r.fase = s.FaseActual();
    r.datosEmpezados = datos;
    return r;
}

QByteArray Url(const Envio& envio) {
    QUrl url;
    url.setScheme(envio.puerto == 465 ? QStringLiteral("smtps") : QStringLiteral("smtp"));
    url.setHost(envio.servidor.trimmed(), QUrl::StrictMode);
    url.setPort(envio.puerto);
    if (!url.isValid() || url.host().isEmpty()) return {};
    return url.toEncoded();
}

long Segundos(Milisegundos m) { return static_cast<long>(m.count() / 1000 + 1); }

}  // namespace

ResultadoEnvio EnviarPorCurl(const Envio& envio) {
    static std::once_flag iniciado;
    std::call_once(iniciado, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    const QByteArray url = Url(envio);
    if (url.isEmpty())
        return Fallo(Desenlace::Permanente, SinConexion,
                     QStringLiteral("El nombre del servidor SMTP no es válido: %1")
                         .arg(Visible(envio.servidor)));
    const QByteArray remitente = '<' + envio.remitente.toUtf8() + '>';
    const QByteArray usuario = envio.usuario.toUtf8();
    const QByteArray clave = envio.clave.toUtf8();
    const QByteArray ca = qgetenv(VariableCa);

    std::unique_ptr<CURL, LiberarCurl> curl(curl_easy_init());
    if (!curl)
        return Fallo(Desenlace::Permanente, CURLE_OUT_OF_MEMORY,
                     QStringLiteral("No se pudo iniciar el envío SMTP"));
    std::unique_ptr<curl_slist, LiberarLista> destinatarios(
        curl_slist_append(nullptr, ('<' + envio.destinatario.toUtf8() + '>').constData()));

    std::atomic<bool> cancelar{false};
    CURL* c = curl.get();
    Transferencia t{envio, SeguimientoSmtp(envio.plazos, cancelar), c};
    char bufer[CURL_ERROR_SIZE] = {};
    // Our own clock stops the transfer; libcurl's limits only back it up.
    const Milisegundos respaldo = envio.plazos.total + Milisegundos(10'000);
    const Milisegundos mayor =
        std::max({envio.plazos.saludo, envio.plazos.remitente, envio.plazos.destinatario,
                  envio.plazos.inicioDatos, envio.plazos.bloqueDatos, envio.plazos.finDatos});

    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, bufer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(respaldo.count()));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(respaldo.count()));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, Segundos(mayor + Milisegundos(10'000)));
    // One connection per send, closed at its end: nothing waits in a cache.
    curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
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
    curl_easy_setopt(c, CURLOPT_READDATA, &t);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, Depurar);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Progreso);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);

    CURLcode codigo = CURLE_OK;
    std::mutex cerrojo;
    std::condition_variable aviso;
    bool terminado = false;
    std::thread hilo([&] {
        codigo = curl_easy_perform(c);
        const std::lock_guard<std::mutex> g(cerrojo);
        terminado = true;
        aviso.notify_one();
    });
    // The caller's thread keeps its message loop going meanwhile.
    for (;;) {
        {
            std::unique_lock<std::mutex> g(cerrojo);
            if (aviso.wait_for(g, std::chrono::milliseconds(20), [&] { return terminado; })) break;
        }
        if (envio.atender && !cancelar.load() && !envio.atender()) cancelar = true;
    }
    hilo.join();
    return Clasificar(codigo, t.seguimiento, bufer);
}

}  // namespace platform::smtp
