#include "reception/EnviarMail.h"
#include "reception/ReenvioRespuestas.h"
#include "reception/ProveedoresCorreo.h"
#include "platform/runtime/Entorno.h"
#include "platform/smtp/Mensaje.h"
#include "reception/ResultadoRecepcion.h"
#include "RespuestasPrueba.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QTimer>

using namespace reception;
using pruebas::Ajustes;

namespace {

constexpr int Critico = platform::ui::Estilo::Critical;
constexpr int PreguntaError = platform::ui::Estilo::AbortRetryIgnore + platform::ui::Estilo::Critical;

const QString Cliente = QStringLiteral("cliente@x.test");

class Envio : public pruebas::ConBaseDeNegocio {
protected:
    void Enviar(const QString& destinatario = Cliente) {
        EnviarMail(vista, QStringLiteral("<p>Hola, ¿qué tal?</p>"), destinatario,
                   QStringLiteral("Respuesta ñ"));
    }
};

pruebas::ServidorSmtp::Opciones ConClave() {
    return {QStringLiteral("ana@empresa.test"), QStringLiteral("secreta")};
}

}  // namespace

TEST_F(Envio, LlegaConRemitenteAutenticacionYMarcaDeRespuestaAutomatica) {
    pruebas::ServidorSmtp servidor(ConClave());
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    GuardarAjustes({.servidorOtro = En(servidor.Puerto())});
    Resultado() = {};
    Enviar();
    EXPECT_EQ(Resultado().respuestasNoEnviadas, 0);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    EXPECT_EQ(vista.punteros, 1);
    const auto recibidos = servidor.Recibidos();
    ASSERT_EQ(recibidos.size(), 1);
    const QJsonObject m = recibidos[0].sobre;
    EXPECT_EQ(m[u"usuario"].toString(), QStringLiteral("ana@empresa.test"));
    EXPECT_EQ(m[u"mail_from"].toString(), QStringLiteral("ana@empresa.test"));
    EXPECT_EQ(m[u"rcpt_tos"].toArray(), QJsonArray{Cliente});
    EXPECT_EQ(m[u"to"].toString(), Cliente);
    EXPECT_EQ(m[u"from_nombre"].toString(), QStringLiteral("Ana Pérez"));
    EXPECT_TRUE(m[u"from"].toString().endsWith(QStringLiteral("<ana@empresa.test>")));
    EXPECT_EQ(m[u"subject"].toString(), QStringLiteral("Respuesta ñ"));
    EXPECT_EQ(m[u"auto_submitted"].toString(), QStringLiteral("auto-replied"));
    EXPECT_EQ(m[u"content_type"].toString(), QStringLiteral("text/html"));
    EXPECT_EQ(m[u"cuerpo"].toString().trimmed(), QStringLiteral("<p>Hola, ¿qué tal?</p>"));
}

TEST_F(Envio, SinNombreElRemitenteEsSoloLaDireccion) {
    pruebas::ServidorSmtp servidor(ConClave());
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    GuardarAjustes({.servidorOtro = En(servidor.Puerto()), .nombre = QString()});
    Enviar();
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    const auto recibidos = servidor.Recibidos();
    ASSERT_EQ(recibidos.size(), 1);
    EXPECT_EQ(recibidos[0].sobre[u"from_nombre"].toString(), QString());
    EXPECT_EQ(recibidos[0].sobre[u"mail_from"].toString(), QStringLiteral("ana@empresa.test"));
}

// Ending the program here would meet the same unanswered command at every
// restart; the sender only tells the operator and returns.
TEST_F(Envio, SinAjustesDelUsuarioAvisaYVuelveSinTerminar) {
    GuardarAjustes({});
    Sql(QStringLiteral("UPDATE ta_usuarios SET Nombre = 'OTRO'"));
    Resultado() = {};
    EXPECT_NO_THROW(Enviar());
    EXPECT_EQ(Resultado().respuestasNoEnviadas, 1);
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_EQ(prompts->Preguntas()[0].texto, QStringLiteral("NO HAY CORREO DE MAIL CONFIGURADO"));
    EXPECT_EQ(prompts->Preguntas()[0].estilo, 0);
    EXPECT_EQ(prompts->Preguntas()[0].titulo, platform::runtime::NombreEjecutable());
}

TEST_F(Envio, CadaFalloMuestraSuMensajeYSuTitulo) {
    pruebas::ServidorSmtp servidor(ConClave());
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    const QString vivo = En(servidor.Puerto());
    const QString sinConexion = QStringLiteral(" No hay conexión a internet. Proceso cancelado.");
    const QString alEnviar = QStringLiteral("Error al enviar correo");
    struct Caso {
        const char* nombre;
        Ajustes ajustes;
        QString destinatario;
        long numero;
        QString texto;  // the start of it for the last row
        QString titulo;
    };
    const Caso casos[] = {
        {"servidor caído", {.servidorOtro = En(pruebas::PuertoCerrado())}, Cliente,
         platform::smtp::ErrCdo::SinConexion, sinConexion, alEnviar},
        {"Otro sin servidor", {.servidorOtro = QString()}, Cliente,
         platform::smtp::ErrCdo::SinConexion, sinConexion, alEnviar},
        {"proveedor desconocido", {.servidor = QStringLiteral("Yahoo"), .servidorOtro = vivo}, Cliente,
         platform::smtp::ErrCdo::SinConexion, sinConexion, alEnviar},
        {"contraseña errónea", {.servidorOtro = vivo, .clave = QStringLiteral("mala")}, Cliente,
         platform::smtp::ErrCdo::EnvioRechazado,
         QStringLiteral("La dirección de correo y/o la contraseña\r\nno son correctas."),
         QStringLiteral(" No se envió el correo ")},
        {"sin usuario no hay From", {.servidorOtro = vivo, .usuario = QString()}, Cliente,
         platform::smtp::ErrCdo::SinRemitente, QStringLiteral("Faltan Datos. Verifique su Configuracion"),
         alEnviar},
        {"puerto imposible", {.servidorOtro = QStringLiteral("127.0.0.1:70000")}, Cliente,
         platform::runtime::Err::ActualizacionFallida,
         QStringLiteral("Los datos de cuenta no son correctos. Por favor verifique la configuración de su Cuenta"),
         QStringLiteral("Aviso al Operador")},
        {"destinatario con RCPT inyectado", {.servidorOtro = vivo},
         QStringLiteral("cliente@x.test\r\nRCPT TO:<otro@x.test>"),
         platform::smtp::ErrCdo::DestinatarioRechazado,
         QStringLiteral("La dirección del destinatario no es válida"),
         QStringLiteral(" No se envió el correo. ")},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        GuardarAjustes(c.ajustes);
        prompts->Limpiar();
        const int conexiones = servidor.Conexiones();
        Resultado() = {};
        Enviar(c.destinatario);
        EXPECT_EQ(Resultado().respuestasNoEnviadas, 1);
        // The table's message, then the error itself with Abort/Retry/Ignore;
        // the scripted default (Abort) leaves.
        const auto& p = prompts->Preguntas();
        ASSERT_EQ(p.size(), 2);
        EXPECT_TRUE(p[0].texto.startsWith(c.texto)) << p[0].texto.toStdString();
        if (c.numero != platform::smtp::ErrCdo::DestinatarioRechazado) {
            EXPECT_EQ(p[0].texto, c.texto);
        }
        EXPECT_EQ(p[0].estilo, Critico);
        EXPECT_EQ(p[0].titulo, c.titulo);
        EXPECT_EQ(p[1].estilo, PreguntaError);
        EXPECT_TRUE(p[1].texto.startsWith(QStringLiteral("Error %1:").arg(c.numero)))
            << p[1].texto.toStdString();
        if (c.numero == platform::smtp::ErrCdo::DestinatarioRechazado) {
            EXPECT_EQ(servidor.Conexiones(), conexiones);  // refused before connecting
        }
    }
    EXPECT_TRUE(servidor.Recibidos().isEmpty());
}

// What the operator reads for each answer that ends a send: the login's
// text only for a refused login, otherwise what the server refused in its
// own words.
TEST_F(Envio, TextoDeCadaRechazoPorRespuestaDelServidor) {
    pruebas::ServidorSmtp servidor(ConClave());
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    const QString vivo = En(servidor.Puerto());
    const QString rechazo = QStringLiteral(" No se envió el correo ");
    struct Caso {
        const char* nombre;
        QJsonObject comportamiento;
        QString clave;
        QString texto;
        QString titulo;
    } casos[] = {
        {"421 al saludar", {{QStringLiteral("saludo"), QStringLiteral("421 4.3.2 Servicio no disponible")}},
         QStringLiteral("secreta"),
         QStringLiteral("El servidor de correo no aceptó la conexión por ahora. Su respuesta: 421 4.3.2 Servicio no disponible"),
         rechazo},
        {"451 al remitente", {{QStringLiteral("MAIL"), QStringLiteral("451 4.3.0 Intente luego")}},
         QStringLiteral("secreta"),
         QStringLiteral("El servidor de correo no aceptó el remitente por ahora. Su respuesta: 451 4.3.0 Intente luego"),
         rechazo},
        {"550 al destinatario", {{QStringLiteral("RCPT"), QStringLiteral("550 5.1.1 Usuario desconocido")}},
         QStringLiteral("secreta"),
         QStringLiteral("El servidor de correo no aceptó el destinatario. Su respuesta: 550 5.1.1 Usuario desconocido"),
         rechazo},
        {"552 al mensaje", {{QStringLiteral("DATA"), QStringLiteral("552 5.3.4 Mensaje demasiado grande")}},
         QStringLiteral("secreta"),
         QStringLiteral("El servidor de correo no aceptó el mensaje. Su respuesta: 552 5.3.4 Mensaje demasiado grande"),
         rechazo},
        {"535 al iniciar sesión", {}, QStringLiteral("mala"),
         QStringLiteral("La dirección de correo y/o la contraseña\r\nno son correctas."), rechazo},
        {"corte tras el mensaje", {{QStringLiteral("cortar_tras_datos"), true}}, QStringLiteral("secreta"),
         QStringLiteral(" No hay conexión a internet. Proceso cancelado."), QStringLiteral("Error al enviar correo")},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        servidor.Comportamiento(c.comportamiento);
        GuardarAjustes({.servidorOtro = vivo, .clave = c.clave});
        prompts->Limpiar();
        Enviar();
        const auto& p = prompts->Preguntas();
        ASSERT_EQ(p.size(), 2);
        EXPECT_EQ(p[0].texto, c.texto);
        EXPECT_EQ(p[0].titulo, c.titulo);
        EXPECT_EQ(p[0].estilo, Critico);
    }
}

// A server that takes the connection and never answers: the loop keeps
// running (a timer keeps firing) and "Cancelar" ends the send at once,
// without a prompt; the reply waits in the outbox for a later try.
TEST_F(Envio, ServidorMudoNoCongelaYCancelarLoTermina) {
    pruebas::ServidorSmtp servidor(ConClave());
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    servidor.Comportamiento({{QStringLiteral("mudo"), true}});
    GuardarAjustes({.servidorOtro = En(servidor.Puerto())});
    int vueltas = 0;
    QTimer temporizador;
    QObject::connect(&temporizador, &QTimer::timeout, [&] {
        if (++vueltas == 30) vista.cancelar = -1;
    });
    temporizador.start(50);
    QElapsedTimer reloj;
    reloj.start();
    Enviar();
    EXPECT_GE(vueltas, 30);
    EXPECT_LT(reloj.elapsed(), 5'000);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    EXPECT_TRUE(servidor.Recibidos().isEmpty());

    servidor.Comportamiento({});
    vista.cancelar = 0;
    const QDateTime despues = pruebas::MomentoFijo().addSecs(120);
    common::EstablecerReloj([despues] { return despues; });
    ReenviarPendientes(vista);
    EXPECT_EQ(servidor.Recibidos().size(), 1);
}

TEST_F(Envio, ReintentarTrasFaltaDeConexionRepiteSoloElEnvio) {
    pruebas::ServidorSmtp servidor(ConClave());
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    GuardarAjustes({.servidorOtro = En(pruebas::PuertoCerrado())});
    int errores = 0;
    prompts->AlPreguntar([&](const platform::ui::Pregunta& p) {
        if (p.estilo != PreguntaError) return platform::ui::Respuesta::OK;
        // The settings now point at a live server: a retry that read them
        // again would deliver.
        if (++errores == 1) {
            GuardarAjustes({.servidorOtro = En(servidor.Puerto())});
            return platform::ui::Respuesta::Retry;
        }
        return platform::ui::Respuesta::Ignore;
    });
    Enviar();

    const auto& p = prompts->Preguntas();
    ASSERT_EQ(p.size(), 4);
    for (int i : {0, 2}) EXPECT_EQ(p[i].texto, QStringLiteral(" No hay conexión a internet. Proceso cancelado."));
    EXPECT_EQ(servidor.Conexiones(), 0);
    EXPECT_TRUE(servidor.Recibidos().isEmpty());
}

TEST(Proveedores, TablaDeEleccion) {
    struct Caso {
        QString eleccion, otro, servidor, puerto;
        bool ssl;
    };
    const QString hotmail = QString::fromLatin1(ServidorHotmail);
    const QString gmail = QString::fromLatin1(ServidorGmail);
    const Caso casos[] = {
        {QStringLiteral("Hotmail"), {}, hotmail, QStringLiteral("25"), true},
        {QStringLiteral("HOTMAIL"), QStringLiteral("x.test"), hotmail, QStringLiteral("25"), true},
        {QStringLiteral("gmail"), {}, gmail, QStringLiteral("465"), true},
        {QStringLiteral("Otro"), QStringLiteral("mail.x.test"), QStringLiteral("mail.x.test"), QStringLiteral("25"), false},
        {QStringLiteral("otro"), QStringLiteral("mail.x.test:587"), QStringLiteral("mail.x.test"), QStringLiteral("587"), false},
        {QStringLiteral("Otro"), QStringLiteral("mail.x.test:"), QStringLiteral("mail.x.test:"), QStringLiteral("25"), false},
        {QStringLiteral("Otro"), QStringLiteral("::1"), QStringLiteral("::1"), QStringLiteral("25"), false},
        {QStringLiteral("Otro"), {}, {}, QStringLiteral("25"), false},
        {QStringLiteral("Yahoo"), QStringLiteral("mail.x.test"), {}, {}, false},
        {{}, {}, {}, {}, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE((c.eleccion + QLatin1Char('|') + c.otro).toStdString());
        const ProveedorSmtp p = ElegirProveedor(c.eleccion, c.otro);
        EXPECT_EQ(p.servidor, c.servidor);
        EXPECT_EQ(p.puerto, c.puerto);
        EXPECT_EQ(p.ssl, c.ssl);
    }
}
