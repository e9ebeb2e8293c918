#pragma once
// What the transfer's thread learns of the SMTP dialogue from libcurl's
// callbacks: the step reached, the server's last refusal, whether the
// message text has started, and the time each answer may still take.
#include "platform/smtp/DesenlaceEnvio.h"
#include "platform/smtp/Plazos.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>

namespace platform::smtp {

class SeguimientoSmtp {
public:
    using Reloj = std::chrono::steady_clock;

    // Why the transfer was stopped from our side.
    enum class Parada { Ninguna, Cancelada, SinConexion, SinRespuesta, EstadoNoAnotado };

    SeguimientoSmtp(const Plazos& plazos, const std::atomic<bool>& cancelar);

    // A line we sent or the server sent (libcurl's header lines).
    void Enviado(const QByteArray& linea);
    void Recibido(const QByteArray& linea);
    // The connection is open.
    void Conectado();
    // A call for message text; fin when the text is all out.
    void BloqueDatos(bool fin);
    void DatosEmpezados() { datosEmpezados_ = true; }
    void EstadoNoAnotado() { parada_ = Parada::EstadoNoAnotado; }

    // Checked from libcurl's progress calls: true stops the transfer.
    bool Detener();

    bool EstaConectado() const { return conectado_; }
    // The step the outcome belongs to: a goodbye sent after a failure does not count.
    Fase FaseActual() const { return fase_ == Fase::Cierre ? antesDelCierre_ : fase_; }
    Parada Motivo() const { return parada_; }
    bool HayDatosEmpezados() const { return datosEmpezados_; }
    // The last answer when it was a refusal (code 0 otherwise).
    int CodigoRechazo() const { return codigo_; }
    QString Rechazo() const { return rechazo_; }
    Fase FaseRechazo() const { return faseRechazo_; }

private:
    void Pasar(Fase fase);
    Milisegundos PlazoDe(Fase fase) const;

    Plazos plazos_;
    const std::atomic<bool>& cancelar_;
    Reloj::time_point inicio_ = Reloj::now();
    Reloj::time_point desde_ = inicio_;
    Fase fase_ = Fase::Conexion;
    Fase antesDelCierre_ = Fase::Conexion;
    bool conectado_ = false;
    bool datosEmpezados_ = false;
    Parada parada_ = Parada::Ninguna;
    int codigo_ = 0;
    QString rechazo_;
    Fase faseRechazo_ = Fase::Conexion;
};

}  // namespace platform::smtp
