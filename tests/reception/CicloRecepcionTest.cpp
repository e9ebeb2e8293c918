#include "reception/CicloRecepcion.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "common/FechaServidor.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/Archivos.h"
#include "reception/EstadoPrograma.h"
#include "reception/ResultadoRecepcion.h"
#include "reception/ResumenRecepcion.h"
#include "BasePrueba.h"
#include "BuzonPrueba.h"
#include "ServidorPrueba.h"
#include "VistaPrueba.h"

#include <gtest/gtest.h>

#include <QTimer>

using namespace reception;

namespace {

class Ciclo : public pruebas::BasePrueba {
protected:
    pruebas::VariableEntorno correo{"RECEPCION_CORREO", dir.filePath(QStringLiteral("correo"))};
    pruebas::VistaPrueba vista;
    CicloRecepcion ciclo{vista};
    QDateTime ahora = pruebas::MomentoFijo();

    void SetUp() override {
        BasePrueba::SetUp();
        common::TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
        common::Datos().SetBaseDeDatos(QStringLiteral("GESTION"));
        common::Datos().Conectar(false, 3, QString(), true, true);
        common::Contexto().UsuarioLogeado = QStringLiteral("ANA");
        vista.adjuntos = dir.filePath(QStringLiteral("adjuntos"));
        QDir().mkpath(vista.adjuntos);
        prompts->OkTrasAccion(nullptr);
    }
    pruebas::BuzonPrueba Bandeja(const QString& cuenta) {
        return pruebas::BuzonPrueba(dir.filePath(QStringLiteral("correo")), cuenta);
    }
    static void Sql(const QString& s) { common::Datos().EjecutarSQL(s); }
    static int Filas(const QString& donde = QStringLiteral("1=1")) {
        platform::db::Recordset rs;
        common::Datos().AbrirRecordset(QStringLiteral("SELECT COUNT(*) AS n FROM V_MA_EMAILMOV WHERE ") + donde, rs);
        return rs.Fields(QStringLiteral("n")).Value().toInt();
    }
};

}  // namespace

TEST_F(Ciclo, RespuestaSoloUnaVezYNuncaACorreoAutomatico) {
    pruebas::ServidorSmtp::Opciones opciones;
    opciones.usuario = QStringLiteral("ana@empresa.test");
    opciones.clave = QStringLiteral("secreta");
    pruebas::ServidorSmtp servidor(opciones);
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    Sql(QStringLiteral("INSERT INTO ta_usuarios (Nombre, eMail_Server, email_usuario, email_Password, Email_Nombre, email_ServerOtro) "
                       "VALUES ('ANA', 'Otro', 'ana@empresa.test', 'secreta', 'Ana', '127.0.0.1:%1')").arg(servidor.Puerto()));
    Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C1', 'ALMACÉN CENTRAL')"));
    Sql(QStringLiteral("INSERT INTO MA_CUENTASADIC (codigo, TELEFONO) VALUES ('C1', '912345678')"));
    auto bandeja = Bandeja(QStringLiteral("ventas@x.test"));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("consulta"), QStringLiteral("O'Brien <o'brien@cliente.test>"),
                                          QStringLiteral("el telefono #telefono:almacen# gracias")), ahora.addSecs(-60));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("fuera de la oficina"), QStringLiteral("robot@cliente.test"),
                                          QStringLiteral("#TELEFONO:almacen#"), "Auto-Submitted: auto-replied\r\n"),
                    ahora.addSecs(-50));
    vista.cuentas = QStringLiteral("ventas@x.test");
    ASSERT_TRUE(ciclo.Recibir());
    ASSERT_TRUE(ciclo.Recibir());  // nothing new: no second reply
    EXPECT_EQ(Filas(), 2);
    const auto recibidos = servidor.Recibidos();
    for (const auto& p : prompts->Preguntas()) ADD_FAILURE() << p.titulo.toStdString() << ": " << p.texto.toStdString();
    ASSERT_EQ(recibidos.size(), 1);
    // The reply goes to the address as received, apostrophe included.
    EXPECT_TRUE(recibidos[0].crudo.contains("To: o'brien@cliente.test")) << recibidos[0].crudo.toStdString();
    EXPECT_TRUE(recibidos[0].crudo.contains("Telefono de ALMAC=C3=89N CENTRAL : 912345678"));
    EXPECT_EQ(vista.estado, QStringLiteral("Finalizado"));
}

// The unattended run's last line counts each kind of message once.
TEST_F(Ciclo, ResumenCuentaNuevosConocidosOmitidosYRespuestas) {
    pruebas::ServidorSmtp::Opciones opciones;
    opciones.usuario = QStringLiteral("ana@empresa.test");
    opciones.clave = QStringLiteral("secreta");
    pruebas::ServidorSmtp servidor(opciones);
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    Sql(QStringLiteral("INSERT INTO ta_usuarios (Nombre, eMail_Server, email_usuario, email_Password, Email_Nombre, email_ServerOtro) "
                       "VALUES ('ANA', 'Otro', 'ana@empresa.test', 'secreta', 'Ana', '127.0.0.1:%1')").arg(servidor.Puerto()));
    Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C1', 'ALMACÉN CENTRAL')"));
    Sql(QStringLiteral("INSERT INTO MA_CUENTASADIC (codigo, TELEFONO) VALUES ('C1', '912345678')"));
    auto bandeja = Bandeja(QStringLiteral("ventas@x.test"));
    const auto texto = [](const char* asunto, const char* cuerpo) {
        return pruebas::MensajeTexto(QString::fromUtf8(asunto), QStringLiteral("cliente@cliente.test"), QString::fromUtf8(cuerpo));
    };
    bandeja.Agregar(texto("ya guardado", "1"), ahora.addSecs(-300), QStringLiteral("K1"));
    vista.cuentas = QStringLiteral("ventas@x.test");
    ASSERT_TRUE(ciclo.Recibir());
    Resultado() = {};
    bandeja.Agregar(texto("nuevo", "2"), ahora.addSecs(-200), QStringLiteral("N1"));
    bandeja.Agregar(texto("pide", "el #telefono:almacen#"), ahora.addSecs(-100), QStringLiteral("N2"));
    bandeja.Agregar(texto("viejo", "3"), ahora.addDays(-40), QStringLiteral("V1"));
    bandeja.Agregar(texto("apartado", "4"), ahora.addSecs(-50), QStringLiteral("A1"));
    const QString apartado = QStringLiteral("%1.A1.prueba").arg(ahora.addSecs(-50).toSecsSinceEpoch());
    for (int i = 0; i < IntentosAntesDeApartar; ++i) AnotarFallo(QStringLiteral("ventas@x.test"), apartado);
    ASSERT_TRUE(ciclo.Recibir());
    for (const auto& p : prompts->Preguntas()) ADD_FAILURE() << p.titulo.toStdString() << ": " << p.texto.toStdString();
    EXPECT_EQ(servidor.Recibidos().size(), 1);
    EXPECT_EQ(LineaResumen(QStringLiteral("ventas@x.test"), Resultado()),
              QStringLiteral("Cuenta ventas@x.test: filas nuevas 2, conocidos 1, omitidos 2, respuestas enviadas 1, fallos 0, no son correo 0"));
    // A reply that cannot go is a failure, not a reply sent.
    Resultado() = {};
    Sql(QStringLiteral("UPDATE ta_usuarios SET email_ServerOtro = '127.0.0.1:1'"));
    bandeja.Agregar(texto("otra vez", "de nuevo #telefono:almacen#"), ahora.addSecs(-20), QStringLiteral("N3"));
    prompts->OkTrasAccion(nullptr);
    ciclo.Recibir();
    EXPECT_EQ(LineaResumen(QStringLiteral("ventas@x.test"), Resultado()),
              QStringLiteral("Cuenta ventas@x.test: filas nuevas 1, conocidos 3, omitidos 2, respuestas enviadas 0, fallos 1, no son correo 0"));
}

TEST_F(Ciclo, TickRecorreLasCuentasConocidasSalvoDeshabilitado) {
    auto a = Bandeja(QStringLiteral("a@x.test"));
    auto b = Bandeja(QStringLiteral("b@x.test"));
    a.Agregar(pruebas::MensajeTexto(QStringLiteral("para a"), QStringLiteral("p@x.test"), QStringLiteral("1")), ahora.addSecs(-30), QStringLiteral("A1"));
    b.Agregar(pruebas::MensajeTexto(QStringLiteral("para b"), QStringLiteral("p@x.test"), QStringLiteral("2")), ahora.addSecs(-30), QStringLiteral("B1"));
    Sql(QStringLiteral("INSERT INTO V_MA_EMAILMOV (UIDL, CuentaEmail) VALUES ('x1', ' a@x.test '), ('x2', 'b@x.test'), ('x3', '  ')"));
    vista.deshabilitado = true;
    EXPECT_TRUE(ciclo.Tick());
    EXPECT_EQ(Filas(), 3);
    vista.deshabilitado = false;
    EXPECT_TRUE(ciclo.Tick());
    EXPECT_EQ(Filas(QStringLiteral("CuentaEmail = 'a@x.test'")), 1);  // imported under the trimmed name
    for (const auto& p : prompts->Preguntas()) ADD_FAILURE() << p.titulo.toStdString() << ": " << p.texto.toStdString();
    EXPECT_EQ(Filas(QStringLiteral("ASUNTO = 'para b'")), 1);
    EXPECT_EQ(vista.cuentas, QStringLiteral("b@x.test"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    // "Todas" and "Recibir" import every known account too.
    a.Agregar(pruebas::MensajeTexto(QStringLiteral("otra para a"), QStringLiteral("p@x.test"), QStringLiteral("3")), ahora.addSecs(-10), QStringLiteral("A2"));
    vista.cuentas = QStringLiteral("Todas");
    EXPECT_TRUE(ciclo.Recibir());
    EXPECT_EQ(Filas(QStringLiteral("ASUNTO = 'otra para a'")), 1);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Ciclo, UnaPeticionDuranteUnaImportacionSeRechaza) {
    bool tick = true, recibir = true;
    prompts->OkTrasAccion([&] {
        // A prompt of the running import is open: its nested loop lets a tick in.
        tick = ciclo.Tick();
        recibir = ciclo.Recibir();
    });
    vista.cuentas = QString();
    EXPECT_TRUE(ciclo.Recibir());
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_EQ(prompts->Preguntas()[0].texto, QStringLiteral("Debe configurar al menos 1 cuenta"));
    EXPECT_FALSE(tick);
    EXPECT_FALSE(recibir);
    EXPECT_FALSE(ciclo.Importando());
    EXPECT_EQ(vista.estados, (QStringList{QStringLiteral("Cargando..."), QStringLiteral("Finalizado")}));
}

TEST_F(Ciclo, CancelarDuranteLaImportacion) {
    auto bandeja = Bandeja(QStringLiteral("ventas@x.test"));
    for (int i = 0; i < 3; ++i)
        bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("m%1").arg(i), QStringLiteral("p@x.test"), QStringLiteral("x")), ahora.addSecs(-30 + i));
    vista.cuentas = QStringLiteral("ventas@x.test");
    // Pressed while the import yields to the message loop.
    QTimer::singleShot(0, [&] { vista.cancelar = -1; });
    EXPECT_TRUE(ciclo.Recibir());
    EXPECT_TRUE(vista.estados.contains(QStringLiteral("Cancelado")));
    EXPECT_EQ(vista.cancelar, 0);
    EXPECT_EQ(Filas(), 0);
    EXPECT_EQ(vista.valor, vista.maximo);
    EXPECT_TRUE(ciclo.Recibir());
    EXPECT_EQ(Filas(), 3);
}

TEST_F(Ciclo, MuchasImportacionesNoAgotanLosNumerosDeArchivo) {
    auto bandeja = Bandeja(QStringLiteral("ventas@x.test"));
    vista.cuentas = QStringLiteral("ventas@x.test");
    // More imports than the runtime has file numbers (255), each in a new
    // second, so each starts a trace file of its own.
    QDateTime reloj = ahora;
    common::EstablecerReloj([&] { return reloj; });
    for (int i = 0; i < 300; ++i) {
        reloj = reloj.addSecs(1);
        ASSERT_TRUE(ciclo.Recibir());
    }
    common::EstablecerReloj(&pruebas::MomentoFijo);
    // The error log and the catalogue still find a file number.
    EXPECT_NO_THROW(platform::runtime::Archivos::Libre());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("tarde"), QStringLiteral("p@x.test"), QStringLiteral("x")), ahora.addSecs(-5));
    ciclo.Recibir();
    EXPECT_EQ(Filas(), 1);
}
