// How a send ends against a server that refuses, hangs up, is slow or says
// nothing: what the caller may try again and what it must never send again.
#include "ServidorPrueba.h"
#include "platform/smtp/Plazos.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

using namespace platform::smtp;
using pruebas::ServidorSmtp;

namespace {

Mensaje MensajeA(int puerto, const QString& usuario = QString(), const QString& clave = QString()) {
    Mensaje m;
    m.To = QStringLiteral("cliente@ejemplo.com");
    m.From = QStringLiteral("Almacén<almacen@ejemplo.es>");
    m.Subject = QStringLiteral("RESPUESTA AUTOMATICA");
    m.HTMLBody = QStringLiteral("Telefono de Almacén : 912 345 678");
    m.Configuration =
        pruebas::ConfiguracionPara({.puerto = puerto, .usuario = usuario, .clave = clave});
    return m;
}

// Short times put in effect for one test, the defaults back at its end.
struct PlazosCortos {
    explicit PlazosCortos(const Plazos& p) { EstablecerPlazos(p); }
    ~PlazosCortos() { EstablecerPlazos(Plazos{}); }
};

const char* Nombre(Desenlace d) {
    switch (d) {
    case Desenlace::Entregado: return "entregado";
    case Desenlace::Temporal: return "temporal";
    case Desenlace::Permanente: return "permanente";
    case Desenlace::Desconocido: return "desconocido";
    case Desenlace::Cancelado: return "cancelado";
    }
    return "?";
}

}  // namespace

TEST(DesenlaceSmtp, TablaPorRespuestaDelServidor) {
    ServidorSmtp servidor(
        {.usuario = QStringLiteral("almacen@ejemplo.es"), .clave = QStringLiteral("clave")});
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    struct Caso {
        const char* nombre;
        QJsonObject comportamiento;
        QString clave;
        Desenlace desenlace;
        Fase fase;
        int codigo;
        bool guardado;  // the server kept the message
    } casos[] = {
        {"421 al saludar",
         {{QStringLiteral("saludo"), QStringLiteral("421 4.3.2 Servicio no disponible")}},
         QStringLiteral("clave"),
         Desenlace::Temporal,
         Fase::Saludo,
         421,
         false},
        {"451 al remitente",
         {{QStringLiteral("MAIL"), QStringLiteral("451 4.3.0 Intente luego")}},
         QStringLiteral("clave"),
         Desenlace::Temporal,
         Fase::Remitente,
         451,
         false},
        {"550 al destinatario",
         {{QStringLiteral("RCPT"), QStringLiteral("550 5.1.1 Usuario desconocido")}},
         QStringLiteral("clave"),
         Desenlace::Permanente,
         Fase::Destinatario,
         550,
         false},
        {"552 al mensaje",
         {{QStringLiteral("DATA"), QStringLiteral("552 5.3.4 Mensaje demasiado grande")}},
         QStringLiteral("clave"),
         Desenlace::Permanente,
         Fase::FinDatos,
         552,
         false},
        {"451 al mensaje",
         {{QStringLiteral("DATA"), QStringLiteral("451 4.3.0 Cola llena")}},
         QStringLiteral("clave"),
         Desenlace::Temporal,
         Fase::FinDatos,
         451,
         false},
        {"535 al iniciar sesión",
         {},
         QStringLiteral("mala"),
         Desenlace::Permanente,
         Fase::Autenticacion,
         535,
         false},
        {"corte tras el mensaje",
         {{QStringLiteral("cortar_tras_datos"), true}},
         QStringLiteral("clave"),
         Desenlace::Desconocido,
         Fase::FinDatos,
         0,
         true},
        {"acepta", {}, QStringLiteral("clave"), Desenlace::Entregado, Fase::Conexion, 0, true},
    };
    qsizetype guardados = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        servidor.Comportamiento(c.comportamiento);
        Mensaje m = MensajeA(servidor.Puerto(), QStringLiteral("almacen@ejemplo.es"), c.clave);
        const auto error = pruebas::ErrorAlEnviar(m);
        const ResultadoEnvio& r = m.UltimoEnvio();
        EXPECT_STREQ(Nombre(r.desenlace), Nombre(c.desenlace)) << error.Descripcion.toStdString();
        if (c.desenlace == Desenlace::Entregado) {
            EXPECT_EQ(error.Numero, 0);
        } else {
            EXPECT_EQ(static_cast<int>(r.fase), static_cast<int>(c.fase));
            EXPECT_EQ(r.codigo, c.codigo);
            // The server's own words are in the description.
            if (c.codigo > 0) {
                EXPECT_TRUE(error.Descripcion.contains(QString::number(c.codigo)))
                    << error.Descripcion.toStdString();
            }
        }
        if (c.guardado) ++guardados;
        EXPECT_EQ(servidor.Recibidos().size(), guardados);
    }
}

TEST(DesenlaceSmtp, SinServidorEsTemporal) {
    Mensaje m = MensajeA(pruebas::PuertoCerrado());
    EXPECT_EQ(pruebas::ErrorAlEnviar(m).Numero, ErrCdo::SinConexion);
    EXPECT_EQ(m.UltimoEnvio().desenlace, Desenlace::Temporal);
    EXPECT_FALSE(m.UltimoEnvio().datosEmpezados);
}

// Two answers of 8 s each: 16 s from connecting to the end of EHLO, more
// than the 15 s the connection alone may take.
TEST(DesenlaceSmtp, ServidorLentoEntrega) {
    ServidorSmtp servidor;
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    servidor.Comportamiento({{QStringLiteral("retraso"), 8}, {QStringLiteral("lentas"), 2}});
    Mensaje m = MensajeA(servidor.Puerto());
    QElapsedTimer reloj;
    reloj.start();
    const auto error = pruebas::ErrorAlEnviar(m);
    EXPECT_EQ(error.Numero, 0) << error.Descripcion.toStdString();
    EXPECT_GE(reloj.elapsed(), 16'000);
    EXPECT_EQ(servidor.Recibidos().size(), 1);
}

// The same logic on a shorter scale: an answer later than its own time, or
// a send longer than the cap, ends it; nothing had been delivered.
TEST(DesenlaceSmtp, RespuestaFueraDePlazoEsTemporal) {
    ServidorSmtp servidor;
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    struct Caso {
        const char* nombre;
        Plazos plazos;
        QJsonObject comportamiento;
    } casos[] = {
        {"saludo tardío",
         {.saludo = Milisegundos(1000)},
         {{QStringLiteral("retraso"), 3}, {QStringLiteral("lentas"), 1}}},
        {"tope del envío", {.total = Milisegundos(2500)}, {{QStringLiteral("retraso"), 1}}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        const PlazosCortos plazos(c.plazos);
        servidor.Comportamiento(c.comportamiento);
        Mensaje m = MensajeA(servidor.Puerto());
        QElapsedTimer reloj;
        reloj.start();
        EXPECT_EQ(pruebas::ErrorAlEnviar(m).Numero, ErrCdo::SinConexion);
        EXPECT_LT(reloj.elapsed(), 5'000);
        EXPECT_EQ(m.UltimoEnvio().desenlace, Desenlace::Temporal);
    }
    EXPECT_TRUE(servidor.Recibidos().isEmpty());
}

// A silent server: the caller's loop keeps running, and stopping it ends the send.
TEST(DesenlaceSmtp, ServidorMudoNoDetieneElBucleYSePuedeCancelar) {
    ServidorSmtp servidor;
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    servidor.Comportamiento({{QStringLiteral("mudo"), true}});
    Mensaje m = MensajeA(servidor.Puerto());
    int vueltas = 0;
    bool cancelar = false;
    QTimer temporizador;
    QObject::connect(&temporizador, &QTimer::timeout, [&] {
        if (++vueltas == 20) cancelar = true;
    });
    temporizador.start(50);
    m.Atender = [&] {
        QCoreApplication::processEvents();
        return !cancelar;
    };
    QElapsedTimer reloj;
    reloj.start();
    pruebas::ErrorAlEnviar(m);
    EXPECT_GE(vueltas, 20);
    EXPECT_LT(reloj.elapsed(), 4'000);
    EXPECT_EQ(m.UltimoEnvio().desenlace, Desenlace::Cancelado);
}
