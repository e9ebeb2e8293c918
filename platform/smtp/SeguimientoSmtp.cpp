#include "platform/smtp/SeguimientoSmtp.h"

#include "platform/smtp/Direcciones.h"

#include <QList>

#include <algorithm>

namespace platform::smtp {

namespace {

// A goodbye after the outcome is known is not worth a long wait.
constexpr Milisegundos PlazoCierre{5'000};

int Codigo(const QByteArray& linea) {
    if (linea.size() < 3) return 0;
    bool ok = false;
    const int codigo = linea.left(3).toInt(&ok);
    return ok ? codigo : 0;
}

}  // namespace

SeguimientoSmtp::SeguimientoSmtp(const Plazos& plazos, const std::atomic<bool>& cancelar)
    : plazos_(plazos), cancelar_(cancelar) {}

Milisegundos SeguimientoSmtp::PlazoDe(Fase fase) const {
    switch (fase) {
    case Fase::Conexion: return plazos_.conexion;
    case Fase::Saludo:
    case Fase::Autenticacion: return plazos_.saludo;
    case Fase::Remitente: return plazos_.remitente;
    case Fase::Destinatario: return plazos_.destinatario;
    case Fase::InicioDatos: return plazos_.inicioDatos;
    case Fase::Datos: return plazos_.bloqueDatos;
    case Fase::FinDatos: return plazos_.finDatos;
    case Fase::Cierre: return PlazoCierre;
    }
    return plazos_.saludo;
}

void SeguimientoSmtp::Pasar(Fase fase) {
    if (fase == Fase::Cierre) antesDelCierre_ = fase_;
    fase_ = fase;
    desde_ = Reloj::now();
}

void SeguimientoSmtp::Conectado() {
    if (conectado_) return;
    conectado_ = true;
    Pasar(Fase::Saludo);
}

void SeguimientoSmtp::Enviado(const QByteArray& linea) {
    if (fase_ == Fase::Cierre) return;
    const QByteArray verbo = linea.trimmed().split(' ').value(0).toUpper();
    // During AUTH our lines are credentials, whatever they look like.
    if (fase_ == Fase::Autenticacion && verbo != "MAIL" && verbo != "QUIT") {
        desde_ = Reloj::now();
        return;
    }
    if (verbo == "EHLO" || verbo == "HELO" || verbo == "STARTTLS")
        Pasar(Fase::Saludo);
    else if (verbo == "AUTH")
        Pasar(Fase::Autenticacion);
    else if (verbo == "MAIL")
        Pasar(Fase::Remitente);
    else if (verbo == "RCPT")
        Pasar(Fase::Destinatario);
    else if (verbo == "DATA")
        Pasar(Fase::InicioDatos);
    else if (verbo == "QUIT")
        Pasar(Fase::Cierre);
    else
        desde_ = Reloj::now();
}

void SeguimientoSmtp::Recibido(const QByteArray& linea) {
    Conectado();
    if (fase_ == Fase::Cierre) return;
    desde_ = Reloj::now();
    const int codigo = Codigo(linea);
    if (codigo >= 400) {
        codigo_ = codigo;
        rechazo_ = EnUnaLinea(QString::fromUtf8(linea)).trimmed();
        faseRechazo_ = fase_;
    } else if (codigo > 0) {
        // A refusal that was followed by a good answer (EHLO then HELO) did not end the send.
        codigo_ = 0;
        rechazo_.clear();
    }
    if (fase_ == Fase::InicioDatos && codigo == 354) Pasar(Fase::Datos);
}

void SeguimientoSmtp::BloqueDatos(bool fin) {
    if (fase_ != Fase::Datos && fase_ != Fase::FinDatos) Pasar(Fase::Datos);
    if (fin)
        Pasar(Fase::FinDatos);
    else
        desde_ = Reloj::now();
}

bool SeguimientoSmtp::Detener() {
    if (parada_ != Parada::Ninguna) return true;
    const auto ahora = Reloj::now();
    if (cancelar_.load())
        parada_ = Parada::Cancelada;
    else if (!conectado_ && ahora - desde_ > plazos_.conexion)
        parada_ = Parada::SinConexion;
    else if (ahora - desde_ > PlazoDe(fase_))
        parada_ = Parada::SinRespuesta;
    // The cap on the whole send does not cut a goodbye short of its own time.
    else if (fase_ != Fase::Cierre && ahora - inicio_ > plazos_.total)
        parada_ = Parada::SinRespuesta;
    return parada_ != Parada::Ninguna;
}

}  // namespace platform::smtp
