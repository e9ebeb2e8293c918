// TLS against a server with a self-signed certificate: STARTTLS is required
// when SSL is on, and the certificate is checked.
#include "ServidorPrueba.h"

#include "ApoyoPruebas.h"
#include "platform/smtp/TransporteCurl.h"

#include <gtest/gtest.h>

using namespace platform::smtp;
using pruebas::ServidorSmtp;

namespace {

Mensaje MensajeCon(const pruebas::Cuenta& cuenta) {
    Mensaje m;
    m.To = QStringLiteral("cliente@ejemplo.com");
    m.From = QStringLiteral("Almacén<almacen@ejemplo.es>");
    m.Subject = QStringLiteral("RESPUESTA AUTOMATICA");
    m.HTMLBody = QStringLiteral("<p>Telefono de Almacen : 912 345 678</p>");
    m.Configuration = pruebas::ConfiguracionPara(cuenta);
    return m;
}

}  // namespace

TEST(SmtpTls, StartTlsConCertificadoDePrueba) {
    ServidorSmtp servidor({.usuario = QStringLiteral("almacen"), .clave = QStringLiteral("clave"),
                           .tls = QStringLiteral("starttls")});
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    pruebas::VariableEntorno ca(VariableCa, pruebas::CertificadoPrueba().certificado);
    Mensaje m = MensajeCon({.puerto = servidor.Puerto(), .ssl = true, .usuario = QStringLiteral("almacen"),
                            .clave = QStringLiteral("clave")});

    const auto error = pruebas::ErrorAlEnviar(m);
    ASSERT_EQ(error.Numero, 0) << error.Descripcion.toStdString();
    const auto recibidos = servidor.Recibidos();
    ASSERT_EQ(recibidos.size(), 1);
    EXPECT_TRUE(recibidos[0].sobre[u"tls"].toBool());
    EXPECT_EQ(recibidos[0].sobre[u"usuario"].toString(), QStringLiteral("almacen"));
}

TEST(SmtpTls, SinCifradoVerificadoNoSeEnvia) {
    ServidorSmtp conTls({.tls = QStringLiteral("starttls")});
    ServidorSmtp sinTls;
    ASSERT_TRUE(conTls.Listo()) << conTls.Fallo().toStdString();
    ASSERT_TRUE(sinTls.Listo()) << sinTls.Fallo().toStdString();
    struct Caso {
        const char* nombre;
        const ServidorSmtp* servidor;
        QString ca;
        long numero;  // libcurl's own code
    } casos[] = {
        // The self-signed certificate is not trusted unless named.
        {"certificado desconocido", &conTls, QString(), 60},
        // SSL on and a server without STARTTLS: never fall back to plain text.
        {"servidor sin STARTTLS", &sinTls, pruebas::CertificadoPrueba().certificado, 64},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        pruebas::VariableEntorno ca(VariableCa, caso.ca);
        Mensaje m = MensajeCon({.puerto = caso.servidor->Puerto(), .ssl = true});
        const auto error = pruebas::ErrorAlEnviar(m);
        EXPECT_EQ(error.Numero, caso.numero) << error.Descripcion.toStdString();
        EXPECT_FALSE(error.Descripcion.isEmpty());
        EXPECT_TRUE(caso.servidor->Recibidos().isEmpty());
    }
}
