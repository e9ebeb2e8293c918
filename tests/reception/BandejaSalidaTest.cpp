// The outbox of automatic replies against the local SMTP server: a passing
// failure is tried again later, at growing intervals, and delivered once; a
// permanent failure or an unknown outcome is never sent again; a process
// that dies mid-send never makes a reply go twice.
#include "RespuestasPrueba.h"
#include "common/Configuracion.h"
#include "reception/BandejaSalida.h"
#include "reception/EnviarMail.h"
#include "reception/ReenvioRespuestas.h"

#include <QFile>
#include <QJsonObject>

#include <sys/wait.h>
#include <unistd.h>

using namespace reception;

namespace {

const QString Cliente = QStringLiteral("cliente@x.test");

class Bandeja : public pruebas::ConBaseDeNegocio {
protected:
    pruebas::ServidorSmtp servidor{{QStringLiteral("ana@empresa.test"), QStringLiteral("secreta")}};
    QDateTime ahora = pruebas::MomentoFijo();

    void SetUp() override {
        ConBaseDeNegocio::SetUp();
        ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
        common::EstablecerReloj([this] { return ahora; });
        common::TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
        GuardarAjustes({.servidorOtro = En(servidor.Puerto())});
    }

    void Responder(const QString& a = Cliente,
                   const QString& cuerpo = QStringLiteral("Telefono de Almacén : 1")) {
        EnviarMail(vista, cuerpo, a, QStringLiteral("RESPUESTA AUTOMATICA"));
    }
    // One tick's turn of the outbox, some seconds later.
    void Tic(qint64 segundos) {
        ahora = ahora.addSecs(segundos);
        ReenviarPendientes(vista);
    }
    QStringList Log() const {
        QFile f(dir.filePath(QStringLiteral("temp/CVERR.LOG")));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList lineas;
        for (const QString& l : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts))
            if (l.contains(QStringLiteral("Respuesta automática"))) lineas << l;
        return lineas;
    }
};

}  // namespace

TEST_F(Bandeja, UnFalloPasajeroSeReintentaConIntervalosCrecientesYLlegaUnaVez) {
    servidor.Comportamiento({{QStringLiteral("saludo"), QStringLiteral("421 4.3.2 Vuelva luego")}});
    Responder();
    // The first attempt tells the operator, as always.
    ASSERT_EQ(prompts->Preguntas().size(), 2);
    EXPECT_EQ(servidor.Conexiones(), 1);

    // Not yet due: nothing tried. Then due, failing again: silent, logged.
    Tic(30);
    EXPECT_EQ(servidor.Conexiones(), 1);
    Tic(31);
    EXPECT_EQ(servidor.Conexiones(), 2);
    Tic(60);
    EXPECT_EQ(servidor.Conexiones(), 2);  // the second wait is two minutes
    Tic(60);
    EXPECT_EQ(servidor.Conexiones(), 3);
    servidor.Comportamiento({});
    Tic(4 * 60);
    EXPECT_EQ(servidor.Conexiones(), 4);
    for (int i = 0; i < 5; ++i) Tic(3600);
    EXPECT_EQ(servidor.Conexiones(), 4);
    EXPECT_EQ(prompts->Preguntas().size(), 2);
    ASSERT_EQ(servidor.Recibidos().size(), 1);
    EXPECT_EQ(servidor.Recibidos()[0].sobre[u"rcpt_tos"].toArray(), QJsonArray{Cliente});
    const QStringList log = Log();
    ASSERT_EQ(log.size(), 4);
    EXPECT_TRUE(log[0].contains(QStringLiteral("intento 1 fallido"))) << log[0].toStdString();
    EXPECT_TRUE(log[0].contains(QStringLiteral("421"))) << log[0].toStdString();
    EXPECT_TRUE(log[3].contains(QStringLiteral("enviada en el intento 4"))) << log[3].toStdString();
}

TEST_F(Bandeja, FallosQueNoSeReintentan) {
    struct Caso {
        const char* nombre;
        QJsonObject comportamiento;
        qsizetype guardados;  // what the server kept
    } casos[] = {
        {"550 al destinatario",
         {{QStringLiteral("RCPT"), QStringLiteral("550 5.1.1 No existe")}},
         0},
        {"552 al mensaje",
         {{QStringLiteral("DATA"), QStringLiteral("552 5.3.4 Demasiado grande")}},
         0},
        {"corte tras el mensaje", {{QStringLiteral("cortar_tras_datos"), true}}, 1},
    };
    qsizetype guardados = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        servidor.Comportamiento(c.comportamiento);
        const int conexiones = servidor.Conexiones();
        Responder();
        EXPECT_EQ(servidor.Conexiones(), conexiones + 1);
        servidor.Comportamiento({});
        for (int i = 0; i < 4; ++i) Tic(3600);
        EXPECT_EQ(servidor.Conexiones(), conexiones + 1);
        guardados += c.guardados;
        EXPECT_EQ(servidor.Recibidos().size(), guardados);
        ASSERT_FALSE(Log().isEmpty());
        EXPECT_TRUE(Log().last().contains(QStringLiteral("no se reintenta")))
            << Log().last().toStdString();
    }
}

TEST_F(Bandeja, TrasUnDiaSeDescarta) {
    servidor.Comportamiento({{QStringLiteral("MAIL"), QStringLiteral("451 4.3.0 Cola llena")}});
    Responder();
    int conexiones = servidor.Conexiones();
    for (int hora = 0; hora < 30; ++hora) Tic(3600);
    EXPECT_GT(servidor.Conexiones(), conexiones + 20);
    conexiones = servidor.Conexiones();
    servidor.Comportamiento({});
    Tic(3600);
    EXPECT_EQ(servidor.Conexiones(), conexiones);
    EXPECT_TRUE(servidor.Recibidos().isEmpty());
    EXPECT_TRUE(Log().last().contains(QStringLiteral("descartada"))) << Log().last().toStdString();
}

// A process killed before the message text leaves its reply to the next
// run, which sends it; one killed after leaves it unknown: never sent again.
TEST_F(Bandeja, UnProcesoMuertoAMitadDeEnvio) {
    const auto MuereTras = [](bool enCurso) {
        const pid_t hijo = ::fork();
        if (hijo == 0) {
            const qint64 id = EncolarRespuesta(
                enCurso ? QStringLiteral("b@x.test") : QStringLiteral("a@x.test"),
                QStringLiteral("RESPUESTA AUTOMATICA"), QStringLiteral("cuerpo"), 10);
            if (enCurso) MarcarEnCurso(id);
            ::_exit(0);
        }
        int estado = 0;
        ::waitpid(hijo, &estado, 0);
    };
    MuereTras(false);
    MuereTras(true);
    Tic(0);
    ASSERT_EQ(servidor.Recibidos().size(), 1);
    EXPECT_EQ(servidor.Recibidos()[0].sobre[u"rcpt_tos"].toArray(),
              QJsonArray{QStringLiteral("a@x.test")});
    for (int i = 0; i < 3; ++i) Tic(3600);
    EXPECT_EQ(servidor.Recibidos().size(), 1);
    EXPECT_EQ(servidor.Conexiones(), 1);
    EXPECT_EQ(Log()
                  .filter(QStringLiteral("b@x.test"))
                  .filter(QStringLiteral("se desconoce si llegó"))
                  .size(),
              1);
}

TEST_F(Bandeja, NoMasDeLasRespuestasPorHoraAUnaDireccion) {
    common::GrabaDfg(QStringLiteral("EMAIL_RESPUESTAS_HORA"), QStringLiteral("2"), QString(), false,
                     QStringLiteral("DATOS"), true);
    for (int i = 0; i < 4; ++i) {
        Responder(i % 2 ? QStringLiteral("CLIENTE@x.test") : Cliente);
        ahora = ahora.addSecs(60);
    }
    Responder(QStringLiteral("otro@x.test"));
    EXPECT_EQ(servidor.Recibidos().size(), 3);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    EXPECT_EQ(Log().size(), 2);
    for (const QString& l : Log())
        EXPECT_TRUE(l.contains(QStringLiteral("EMAIL_RESPUESTAS_HORA"))) << l.toStdString();
    // An hour after the first, the address may be answered again.
    ahora = ahora.addSecs(3600 - 4 * 60 + 1);
    Responder();
    EXPECT_EQ(servidor.Recibidos().size(), 4);
}

TEST_F(Bandeja, SinValorElLimiteEsDiez) {
    for (int i = 0; i < 11; ++i) Responder();
    EXPECT_EQ(servidor.Recibidos().size(), RespuestasPorHora);
}
