// Sending through a real SMTP server: what arrives, and the failure numbers
// the sender's messages are keyed on.
#include "ServidorPrueba.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace platform::smtp;
using pruebas::ServidorSmtp;

namespace {

Mensaje MensajePara(const std::shared_ptr<Configuracion>& configuracion) {
    Mensaje m;
    m.To = QStringLiteral("cliente@ejemplo.com");
    m.From = QStringLiteral("José Núñez<jose@ejemplo.es>");
    m.Subject = QStringLiteral("RESPUESTA AUTOMÁTICA: teléfono del almacén");
    m.HTMLBody = QStringLiteral("<p>Teléfono de Almacén : 912 345 678</p>");
    m.Configuration = configuracion;
    return m;
}

QString SinRetornos(QString texto) { return texto.remove(QLatin1Char('\r')); }

}  // namespace

TEST(MensajeSmtp, EntregaTextoEspanolCodificadoEnSieteBits) {
    ServidorSmtp servidor;
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    Mensaje m = MensajePara(pruebas::ConfiguracionPara({.puerto = servidor.Puerto()}));
    // A line of one dot and a long line: the dialogue and line limits must not cut them.
    m.HTMLBody += QStringLiteral("\n.\n<p>") + QString(200, QChar(0x00F1)) + QStringLiteral("</p>\n");
    m.AgregarCabecera(QStringLiteral("Auto-Submitted"), QStringLiteral("auto-replied"));

    const auto error = pruebas::ErrorAlEnviar(m);
    ASSERT_EQ(error.Numero, 0) << error.Descripcion.toStdString();

    const auto recibidos = servidor.Recibidos();
    ASSERT_EQ(recibidos.size(), 1);
    const QJsonObject s = recibidos[0].sobre;
    EXPECT_EQ(s[u"mail_from"].toString(), QStringLiteral("jose@ejemplo.es"));
    EXPECT_EQ(s[u"rcpt_tos"].toArray().size(), 1);
    EXPECT_EQ(s[u"rcpt_tos"][0].toString(), m.To);
    EXPECT_EQ(s[u"subject"].toString(), m.Subject);
    EXPECT_EQ(s[u"from_nombre"].toString(), QStringLiteral("José Núñez"));
    EXPECT_EQ(s[u"to"].toString(), m.To);
    EXPECT_EQ(s[u"auto_submitted"].toString(), QStringLiteral("auto-replied"));
    EXPECT_EQ(s[u"content_type"].toString(), QStringLiteral("text/html"));
    EXPECT_EQ(s[u"charset"].toString(), QStringLiteral("utf-8"));
    EXPECT_EQ(SinRetornos(s[u"cuerpo"].toString()), m.HTMLBody);

    const QByteArray crudo = recibidos[0].crudo;
    for (const char c : crudo) ASSERT_EQ(c & 0x80, 0) << "8-bit byte in the message";
    for (const QByteArray& linea : crudo.split('\n'))
        EXPECT_LE(linea.size() - (linea.endsWith('\r') ? 1 : 0), 78);
    // Header section, unfolded: long encoded headers may continue on the next line.
    const QString cabeceras = QString::fromLatin1(crudo.left(crudo.indexOf("\r\n\r\n") + 2))
                                  .replace(QStringLiteral("\r\n "), QStringLiteral(" "));
    const auto Tiene = [&](const QString& patron) {
        return QRegularExpression(patron, QRegularExpression::MultilineOption).match(cabeceras).hasMatch();
    };
    EXPECT_TRUE(Tiene(QStringLiteral("^From: =\\?UTF-8\\?[BbQq]\\?[^?]+\\?= <jose@ejemplo\\.es>\\r$")))
        << cabeceras.toStdString();
    EXPECT_TRUE(Tiene(QStringLiteral("^Subject: .*=\\?UTF-8\\?")));
    EXPECT_TRUE(Tiene(QStringLiteral("^Date: \\w{3}, \\d{1,2} \\w{3} \\d{4} \\d\\d:\\d\\d:\\d\\d [+-]\\d{4}\\r$")));
    EXPECT_TRUE(Tiene(QStringLiteral("^Message-I[Dd]: <[^@>\\s]+@ejemplo\\.es>\\r$")));
    EXPECT_TRUE(Tiene(QStringLiteral("^MIME-Version: 1\\.0\\r$")));
    EXPECT_TRUE(Tiene(QStringLiteral("^Content-Type: text/html; charset=UTF-8\\r$")));
    EXPECT_TRUE(Tiene(QStringLiteral("^Content-Transfer-Encoding: (quoted-printable|base64)\\r$")));
    EXPECT_TRUE(Tiene(QStringLiteral("^Auto-Submitted: auto-replied\\r$")));
}

TEST(MensajeSmtp, AutenticacionConUsuarioYClave) {
    ServidorSmtp servidor({.usuario = QStringLiteral("almacen@ejemplo.es"), .clave = QStringLiteral("sécrèta")});
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    struct Caso {
        const char* nombre;
        QString usuario;
        QString clave;
        long numero;
    } casos[] = {
        {"clave correcta", QStringLiteral("almacen@ejemplo.es"), QStringLiteral("sécrèta"), 0},
        {"clave incorrecta", QStringLiteral("almacen@ejemplo.es"), QStringLiteral("otra"), ErrCdo::EnvioRechazado},
        {"sin autenticar", QString(), QString(), ErrCdo::EnvioRechazado},
    };
    int esperados = 0;
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        Mensaje m = MensajePara(pruebas::ConfiguracionPara(
            {.puerto = servidor.Puerto(), .usuario = caso.usuario, .clave = caso.clave}));
        const auto error = pruebas::ErrorAlEnviar(m);
        EXPECT_EQ(error.Numero, caso.numero) << error.Descripcion.toStdString();
        if (caso.numero == 0) ++esperados;
        else EXPECT_FALSE(error.Descripcion.isEmpty());
        const auto recibidos = servidor.Recibidos();
        ASSERT_EQ(recibidos.size(), esperados);
        if (caso.numero == 0) {
            EXPECT_EQ(recibidos.last().sobre[u"usuario"].toString(), caso.usuario);
        }
    }
}

TEST(MensajeSmtp, FallosAntesDeEntregar) {
    ServidorSmtp servidor;
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    const int vivo = servidor.Puerto();
    struct Caso {
        const char* nombre;
        QString servidor;
        int puerto;
        QString from;
        long numero;
    } casos[] = {
        {"servidor caído", QStringLiteral("127.0.0.1"), pruebas::PuertoCerrado(), QStringLiteral("A<a@ejemplo.es>"), ErrCdo::SinConexion},
        {"servidor vacío", QString(), vivo, QStringLiteral("A<a@ejemplo.es>"), ErrCdo::SinConexion},
        {"nombre de servidor con salto", QStringLiteral("127.0.0.1\r\nRCPT"), vivo, QStringLiteral("A<a@ejemplo.es>"), ErrCdo::SinConexion},
        {"sin From", QStringLiteral("127.0.0.1"), vivo, QString(), ErrCdo::SinRemitente},
        {"From en blanco", QStringLiteral("127.0.0.1"), vivo, QStringLiteral("  "), ErrCdo::SinRemitente},
        {"From sin usuario", QStringLiteral("127.0.0.1"), vivo, QStringLiteral("Nombre<>"), ErrCdo::SinRemitente},
        {"From con dos direcciones", QStringLiteral("127.0.0.1"), vivo, QStringLiteral("A<a@e.es>, b@e.es"), ErrCdo::SinRemitente},
        {"From con salto", QStringLiteral("127.0.0.1"), vivo, QStringLiteral("A<a@e.es\r\nRCPT TO:<x@y.es>>"), ErrCdo::SinRemitente},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        Mensaje m = MensajePara(pruebas::ConfiguracionPara({.servidor = caso.servidor, .puerto = caso.puerto}));
        m.From = caso.from;
        const auto error = pruebas::ErrorAlEnviar(m);
        EXPECT_EQ(error.Numero, caso.numero) << error.Descripcion.toStdString();
    }
    EXPECT_EQ(servidor.Conexiones(), 0);
}

TEST(MensajeSmtp, SoloRigeLaConfiguracionActualizada) {
    ServidorSmtp servidor;
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    // The message's own configuration, never filled: nothing says how to send.
    Mensaje m = MensajePara(nullptr);
    m.Configuration = std::make_shared<Configuracion>();
    EXPECT_EQ(pruebas::ErrorAlEnviar(m).Numero, ErrCdo::SendUsingNoValido);

    // Shared: a change made through the caller's object and updated is what Send uses.
    m.Configuration = pruebas::ConfiguracionPara({.puerto = pruebas::PuertoCerrado()});
    auto& puerto = m.Configuration->Fields().Item(NombreCompleto(NombreCampo::SmtpServerPort));
    puerto = QString::number(servidor.Puerto());
    EXPECT_EQ(pruebas::ErrorAlEnviar(m).Numero, ErrCdo::SinConexion);
    m.Configuration->Fields().Update();
    EXPECT_EQ(pruebas::ErrorAlEnviar(m).Numero, 0);
    EXPECT_EQ(servidor.Recibidos().size(), 1);
}
