// Recipients and header texts come from received mail: nothing in them may
// add a command to the SMTP dialogue or a header to the message.
#include "ServidorPrueba.h"

#include <gtest/gtest.h>

#include <functional>

using namespace platform::smtp;
using pruebas::ServidorSmtp;

namespace {

Mensaje MensajeValido(int puerto) {
    Mensaje m;
    m.To = QStringLiteral("cliente@ejemplo.com");
    m.From = QStringLiteral("Almacén<almacen@ejemplo.es>");
    m.Subject = QStringLiteral("RESPUESTA AUTOMATICA");
    m.HTMLBody = QStringLiteral("<p>Telefono de Almacen : 912 345 678</p>");
    m.Configuration = pruebas::ConfiguracionPara({.puerto = puerto});
    return m;
}

}  // namespace

TEST(SmtpDestinatario, DireccionesHostilesNoLleganAlServidor) {
    ServidorSmtp servidor;
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    const QString hostiles[] = {
        QStringLiteral("cliente@ejemplo.com\r\nRCPT TO:<otro@ejemplo.com>"),
        QStringLiteral("cliente@ejemplo.com\nRCPT TO:<otro@ejemplo.com>"),
        QStringLiteral("cliente@ejemplo.com\r"),
        QStringLiteral("cliente@ejemplo.com") + QChar(0) + QStringLiteral("otro@ejemplo.com"),
        QStringLiteral("cliente@ejemplo.com,otro@ejemplo.com"),
        QStringLiteral("cliente@ejemplo.com otro@ejemplo.com"),
        QStringLiteral("cliente@ejemplo.com\totro"),
        QStringLiteral("<cliente@ejemplo.com>"),
        QStringLiteral("cliente@ejemplo.com>, <otro@ejemplo.com"),
        QStringLiteral("Cliente <cliente@ejemplo.com>"),
        QStringLiteral("cliente@ejemplo.com;otro@ejemplo.com"),
        QStringLiteral("cliente@ejemplo.com") + QChar(QChar::LineSeparator) + QStringLiteral("otro"),
        QStringLiteral("cliente@otro@ejemplo.com"),
        QStringLiteral("@ejemplo.com"),
        QStringLiteral("cliente@"),
        QStringLiteral("cliente"),
        QString(),
    };
    for (const QString& to : hostiles) {
        SCOPED_TRACE(to.toStdString());
        Mensaje m = MensajeValido(servidor.Puerto());
        m.To = to;
        const auto error = pruebas::ErrorAlEnviar(m);
        EXPECT_EQ(error.Numero, ErrCdo::DestinatarioRechazado);
        EXPECT_FALSE(error.Descripcion.contains(QLatin1Char('\n')));
    }
    EXPECT_EQ(servidor.Conexiones(), 0);

    // The same message with a plain recipient does reach this server.
    Mensaje m = MensajeValido(servidor.Puerto());
    EXPECT_EQ(pruebas::ErrorAlEnviar(m).Numero, 0);
    EXPECT_EQ(servidor.Recibidos().size(), 1);
}

TEST(SmtpCabeceras, SaltosDeLineaNoCreanCabeceras) {
    ServidorSmtp servidor;
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    const QString inyeccion = QStringLiteral("\r\nBcc: oculto@ejemplo.com\r\n\r\n<p>otro cuerpo</p>");
    struct Caso {
        const char* donde;
        std::function<void(Mensaje&)> poner;
    } casos[] = {
        {"asunto", [&](Mensaje& m) { m.Subject += inyeccion; }},
        {"asunto no ASCII", [&](Mensaje& m) { m.Subject = QStringLiteral("Teléfono") + inyeccion; }},
        {"nombre del remitente", [&](Mensaje& m) { m.From = QStringLiteral("Almacén") + inyeccion + QStringLiteral("<almacen@ejemplo.es>"); }},
        {"cabecera añadida", [&](Mensaje& m) { m.AgregarCabecera(QStringLiteral("X-Pedido"), QStringLiteral("123") + inyeccion); }},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.donde);
        Mensaje m = MensajeValido(servidor.Puerto());
        caso.poner(m);
        const auto error = pruebas::ErrorAlEnviar(m);
        ASSERT_EQ(error.Numero, 0) << error.Descripcion.toStdString();
        const auto recibido = servidor.Recibidos().last();
        EXPECT_EQ(recibido.sobre[u"rcpt_tos"].toArray().size(), 1);
        for (const auto nombre : recibido.sobre[u"cabeceras"].toArray())
            EXPECT_NE(nombre.toString().toLower(), QStringLiteral("bcc"));
        EXPECT_FALSE(recibido.sobre[u"subject"].toString().contains(QLatin1Char('\n')));
        EXPECT_EQ(recibido.sobre[u"cuerpo"].toString().trimmed(), m.HTMLBody);
    }
    EXPECT_EQ(servidor.Recibidos().size(), 4);
}

TEST(SmtpCabeceras, NombresDeCabeceraNoValidos) {
    Mensaje m;
    for (const QString& nombre : {QStringLiteral(""), QStringLiteral("X Pedido"), QStringLiteral("X:Pedido"),
                                  QStringLiteral("X-Pedido\r\nBcc"), QStringLiteral("Subject"),
                                  QStringLiteral("content-type"), QStringLiteral("Teléfono")}) {
        SCOPED_TRACE(nombre.toStdString());
        long numero = 0;
        try { m.AgregarCabecera(nombre, QStringLiteral("x")); } catch (const platform::runtime::ErrorSistema& e) { numero = e.Numero; }
        EXPECT_EQ(numero, platform::runtime::Err::ArgumentoNoValido);
    }
    EXPECT_TRUE(m.Cabeceras().isEmpty());
}
