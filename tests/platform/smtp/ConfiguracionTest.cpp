// The configuration fields: names under the old prefix, values in effect
// only from Update(), and values the sender cannot use refused there.
#include "platform/runtime/ErrorSistema.h"
#include "platform/smtp/Configuracion.h"
#include "ErrorEsperado.h"

#include <gtest/gtest.h>

using namespace platform::smtp;

namespace {

using pruebas::NumeroDe;

const QString Servidor = NombreCompleto(NombreCampo::SmtpServer);
const QString Puerto = NombreCompleto(NombreCampo::SmtpServerPort);

}  // namespace

TEST(ConfiguracionSmtp, LosValoresRigenDesdeUpdate) {
    EXPECT_EQ(Servidor, QStringLiteral("http://schemas.microsoft.com/cdo/configuration/smtpserver"));
    Configuracion c;
    c.Load(OrigenDefecto);
    c.Fields().Item(Servidor) = QStringLiteral("smtp.ejemplo.es");
    EXPECT_EQ(c.Fields().Item(Servidor).Value().toString(), QStringLiteral("smtp.ejemplo.es"));
    EXPECT_FALSE(c.Valor(Servidor).isValid());

    c.Fields().Update();
    EXPECT_EQ(c.Valor(NombreCampo::SmtpServer).toString(), QStringLiteral("smtp.ejemplo.es"));
    // Names do not depend on case: the same field, not a second one.
    c.Fields().Item(Servidor.toUpper()) = QStringLiteral("otro.ejemplo.es");
    EXPECT_EQ(c.Fields().Count(), 1);
    c.Fields().Update();
    EXPECT_EQ(c.Valor(Servidor).toString(), QStringLiteral("otro.ejemplo.es"));

    c.Load(OrigenDefecto);
    EXPECT_EQ(c.Fields().Count(), 0);
    EXPECT_FALSE(c.Valor(Servidor).isValid());
    EXPECT_EQ(NumeroDe([&] { c.Load(1); }), platform::runtime::Err::ArgumentoNoValido);
}

TEST(ConfiguracionSmtp, UpdateRechazaLoQueNoSirveParaEnviar) {
    struct Caso {
        const char* campo;
        QVariant valor;
        long numero;
    } casos[] = {
        {NombreCampo::SmtpServerPort, QStringLiteral("587"), 0},
        {NombreCampo::SmtpServerPort, 465, 0},
        {NombreCampo::SmtpServerPort, QString(), 0},
        {NombreCampo::SmtpServerPort, QStringLiteral("veinticinco"), platform::runtime::Err::ActualizacionFallida},
        {NombreCampo::SmtpServerPort, QStringLiteral("70000"), platform::runtime::Err::ActualizacionFallida},
        {NombreCampo::SmtpServerPort, QStringLiteral("25 "), 0},
        {NombreCampo::SmtpUseSsl, true, 0},
        {NombreCampo::SmtpUseSsl, QStringLiteral("False"), 0},
        {NombreCampo::SmtpUseSsl, QStringLiteral("quizás"), platform::runtime::Err::ActualizacionFallida},
        {NombreCampo::SmtpAuthenticate, 1, 0},
        {NombreCampo::SmtpAuthenticate, QStringLiteral("sí"), platform::runtime::Err::ActualizacionFallida},
        {NombreCampo::SendUsing, 2, 0},
        {NombreCampo::SendUsing, QStringLiteral("smtp"), platform::runtime::Err::ActualizacionFallida},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(std::string(caso.campo) + " = " + caso.valor.toString().toStdString());
        Configuracion c;
        c.Fields().Item(Puerto) = QStringLiteral("2525");
        c.Fields().Update();
        c.Fields().Item(Servidor) = QStringLiteral("smtp.ejemplo.es");
        c.Fields().Item(NombreCompleto(caso.campo)) = caso.valor;
        EXPECT_EQ(NumeroDe([&] { c.Fields().Update(); }), caso.numero);
        // A refused Update leaves every value as it was, not only the bad one.
        if (caso.numero != 0) {
            EXPECT_FALSE(c.Valor(Servidor).isValid());
            EXPECT_EQ(c.Valor(Puerto).toString(), QStringLiteral("2525"));
        } else {
            EXPECT_EQ(c.Valor(caso.campo), caso.valor);
        }
    }
}
