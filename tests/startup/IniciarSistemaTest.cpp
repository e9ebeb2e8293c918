#include "startup/IniciarSistema.h"
#include "common/Contexto.h"
#include "platform/db/Motores.h"
#include "platform/runtime/Entorno.h"
#include "ApoyoVentana.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace startup;
using platform::runtime::EstablecerLineaComandos;

namespace {
class Inicio : public ::testing::Test {
protected:
    QTemporaryDir dir;
    pruebas::VariableEntorno datos{"RECEPCION_DATOS", dir.filePath(QStringLiteral("datos"))};
    pruebas::VariableEntorno config{"XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config"))};
    pruebas::PromptsGuionados prompts;

    void SetUp() override {
        common::ReiniciarContexto();
        platform::runtime::EstablecerCarpetaAplicacion(dir.path());
    }
    void TearDown() override {
        EstablecerLineaComandos(QString());
        platform::runtime::EstablecerCarpetaAplicacion(QString());
        common::ReiniciarContexto();
    }
    // Runs start-up; returns the exit code if it ended the program, else -1.
    int Iniciar(bool usarIni, const QString& parametros, QString& texto) {
        try {
            IniciarSistema(usarIni, parametros, texto, 3);
        } catch (const pruebas::ProgramaFinalizado& f) {
            return f.codigo;
        }
        return -1;
    }
};
}  // namespace

TEST_F(Inicio, LineaVaciaAbreLaBaseIntegradaPorDefecto) {
    QString texto;
    ASSERT_EQ(Iniciar(false, QString(), texto), -1);
    auto& ctx = common::Contexto();
    EXPECT_TRUE(common::Datos().Conectado());
    EXPECT_EQ(common::Datos().BaseDeDatos(), QStringLiteral("GESTION"));
    EXPECT_FALSE(common::Datos().Usuario().isEmpty());           // the system user
    EXPECT_EQ(ctx.UsuarioLogeado, common::Datos().Usuario());
    EXPECT_EQ(ctx.Caja, QStringLiteral("1"));
    // Start-up sets white; the settings load then applies CFondo's default.
    EXPECT_EQ(ctx.ColorFondo, 16776960);
    EXPECT_EQ(ctx.FlatToolbars, 1.0);
    EXPECT_TRUE(ctx.SeccionIni.contains(QLatin1Char('|')));
    EXPECT_LE(ctx.SeccionIni.size(), 50);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("datos/GESTION.db"))));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Inicio, LineaDeComandosDelProceso) {
    EstablecerLineaComandos(QStringLiteral("@Server=;@DbName=EMPRESA1;@Usuario=ANA;@Password=;@Menu=7;"));
    QString texto;
    ASSERT_EQ(Iniciar(false, QString(), texto), -1);
    EXPECT_EQ(common::Datos().BaseDeDatos(), QStringLiteral("EMPRESA1"));
    EXPECT_EQ(common::Contexto().UsuarioLogeado, QStringLiteral("ANA"));
    EXPECT_EQ(common::Contexto().Menu, QStringLiteral("7"));
}

TEST_F(Inicio, OracleSinConexionTerminaElPrograma) {
    QString texto;
    const int codigo = Iniciar(false, QStringLiteral("@server=#tcp/ORA1:1521;@dbname=VENTAS;@usuario=u;@password=p;"), texto);
    EXPECT_EQ(texto, QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=VENTAS;User Id=u;Password=p;"));
    EXPECT_EQ(common::Datos().Servidor(), QStringLiteral("ORA1"));
    EXPECT_NE(codigo, -1);
    // One clear message naming the database, then the end.
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_TRUE(prompts->Preguntas()[0].texto.contains(QStringLiteral("VENTAS")));
}

TEST_F(Inicio, TextoDeConexionDelLlamadorSeRespeta) {
    QString texto = QStringLiteral("DSN=propio");
    Iniciar(false, QStringLiteral("@server=#ORA;@dbname=V;"), texto);
    EXPECT_EQ(texto, QStringLiteral("DSN=propio"));
}

TEST_F(Inicio, CarpetaDeDatosInaccesibleDaMensajeYFin) {
    // A data folder that cannot be created: its parent is a file.
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("archivo")), "x");
    pruebas::VariableEntorno mala("RECEPCION_DATOS", dir.filePath(QStringLiteral("archivo/datos")));
    QString texto;
    EXPECT_NE(Iniciar(false, QStringLiteral("@DbName=GESTION;"), texto), -1);
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_TRUE(prompts->Preguntas()[0].texto.contains(QStringLiteral("GESTION")));
    EXPECT_TRUE(prompts->Preguntas()[0].texto.contains(QStringLiteral("carpeta de datos")));
}

TEST_F(Inicio, YaConectadoNoVuelveAParsearNiConectar) {
    QString texto;
    Iniciar(false, QStringLiteral("@DbName=GESTION;@Usuario=ANA;"), texto);
    Iniciar(false, QStringLiteral("@DbName=OTRA;@Usuario=LUIS;@UsuarioLogeado=LUIS;"), texto);
    EXPECT_EQ(common::Datos().BaseDeDatos(), QStringLiteral("GESTION"));
    EXPECT_EQ(common::Datos().Usuario(), QStringLiteral("ANA"));
    // Not taken from the new line; the access audit sets it from the connection.
    EXPECT_EQ(common::Contexto().UsuarioLogeado, QStringLiteral("ANA"));
}

TEST_F(Inicio, PerfilIniCuandoNoHayLinea) {
    auto& util = common::Util();
    auto& eq = common::Equipo();
    const QString seccion = eq.NombrePC().toUpper() + QLatin1Char('|') + eq.IdentidadEquipo().toUpper() +
                            QStringLiteral("BaseDeDatos");
    QDir().mkpath(dir.path());
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("CN000pr.INI")),
        (QStringLiteral("[") + seccion.toLower() + QStringLiteral("]\r\nservidor=\r\nDBNAME=PERFIL\r\n"
         "Usuario=") + util.Encriptar(QStringLiteral("MARÍA")) + QStringLiteral("\r\n")).toUtf8());
    QString texto;
    ASSERT_EQ(Iniciar(true, QString(), texto), -1);
    EXPECT_EQ(common::Datos().BaseDeDatos(), QStringLiteral("PERFIL"));
    EXPECT_EQ(common::Datos().Usuario(), QStringLiteral("MARÍA"));
    EXPECT_EQ(common::Datos().Password(), QStringLiteral("pardelo"));
}
