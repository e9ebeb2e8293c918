#include "startup/EnlazarEstadisticas.h"
#include "BasePrueba.h"

#include <QFile>

using namespace startup;
using platform::db::ErrorBaseDatos;

namespace {

const QString A = QStringLiteral("EXEC  sp_addlogin N'CV_ESTADISTICAS', 'RZ_MOLVENTARICO', 'CV_ESTADISTICAS','Spanish'");
const QString B = QStringLiteral(
    " EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', sysadmin"
    " EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', securityadmin"
    " EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', serveradmin"
    " EXEC sp_addsrvrolemember N'CV_ESTADISTICAS',  setupadmin"
    " EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', processadmin"
    " EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', diskadmin"
    " EXEC sp_addsrvrolemember N'CV_ESTADISTICAS', dbcreator");
const QString C = QStringLiteral(" EXEC sp_grantdbaccess @loginame = 'CV_ESTADISTICAS' , @name_in_db ='CV_ESTADISTICAS'");
const QString D = QStringLiteral(
    " EXEC sp_addrolemember N'db_accessadmin', N'CV_ESTADISTICAS'"
    " EXEC sp_addrolemember N'db_backupoperator', N'CV_ESTADISTICAS'"
    " EXEC sp_addrolemember N'db_datareader', N'CV_ESTADISTICAS'"
    " EXEC sp_addrolemember N'db_datawriter', N'CV_ESTADISTICAS'"
    " EXEC sp_addrolemember N'db_ddladmin', N'CV_ESTADISTICAS'"
    " EXEC sp_addrolemember N'db_owner', N'CV_ESTADISTICAS'"
    " EXEC sp_addrolemember N'db_securityadmin', N'CV_ESTADISTICAS'");

class Estadisticas : public pruebas::BasePrueba {
protected:
    pruebas::ConexionPrueba* servidor = nullptr;

    void SetUp() override {
        BasePrueba::SetUp();
        servidor = ConectarNegocio();
    }
    void ResponderAlAlta(long nativo, const QString& descripcion = QStringLiteral("respuesta del servidor")) {
        servidor->respuestas << qMakePair(QStringLiteral("EXEC  sp_addlogin"), ErrorBaseDatos{nativo, descripcion});
    }
    QString Script() const { return dir.filePath(QStringLiteral("temp/CDB7.SQL")); }
    QList<QVariantMap> TimeOut() {
        return Filas(common::DatosEstadisticas(),
                     QStringLiteral("SELECT Grupo, Valor FROM TA_CONFIGURACION WHERE Clave = 'TimeOut'"));
    }
};

}  // namespace

TEST_F(Estadisticas, LoginExistenteSoloEnviaElAlta) {
    ResponderAlAlta(15025);
    EnlazarEstadisticas();
    EXPECT_EQ(servidor->enviadas, QStringList{A});
    EXPECT_TRUE(common::DatosEstadisticas().Conectado());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Estadisticas, LoginNuevoEnviaLasCuatroSentenciasEnOrden) {
    EnlazarEstadisticas();
    EXPECT_EQ(servidor->enviadas, (QStringList{A, B, C, D}));
    EXPECT_FALSE(QFile::exists(Script()));
}

TEST_F(Estadisticas, BaseInexistenteEscribeElScriptYReenlaza) {
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("app/completocve.sql")), "-- no se lee");
    ResponderAlAlta(15010);
    QString base = QStringLiteral("CV_ESTADISTICAS"), login = base, clave = ClaveEstadisticas();
    CrearUsuarioBase(base, login, clave);

    EXPECT_EQ(pruebas::LeerArchivo(Script()), pruebas::Esperado(QStringLiteral("CDB7.SQL")));
    auto& est = common::DatosEstadisticas();
    EXPECT_TRUE(est.Conectado());
    EXPECT_EQ(est.BaseDeDatos(), QStringLiteral("CV_ESTADISTICAS"));
    EXPECT_EQ(est.Password(), QStringLiteral("RZ_MOLVENTARICO"));
    EXPECT_EQ(est.Conexion().DefaultDatabase(), QStringLiteral("CV_ESTADISTICAS"));
    EXPECT_EQ(servidor->enviadas, (QStringList{A, B, C, D}));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Estadisticas, SinCompletocveAvisaYSigueConLosRoles) {
    ResponderAlAlta(15010);
    EnlazarEstadisticas();
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_EQ(prompts->Preguntas()[0].texto,
              QStringLiteral("No se encuentra el archivo ") + Aplicacion() +
                  QStringLiteral("/completocve.sql, Por favor, ingrese la ruta donde se encuentra! "));
    EXPECT_EQ(prompts->Preguntas()[0].estilo, 0);
    EXPECT_FALSE(QFile::exists(Script()));
    EXPECT_EQ(servidor->enviadas, (QStringList{A, B, C, D}));
    // The link's own steps still ran.
    EXPECT_TRUE(common::DatosEstadisticas().Conectado());
    EXPECT_EQ(common::Contexto().TiempoEsperaComandos, 360);
}

TEST_F(Estadisticas, ClaveRechazadaPorLaPolitica) {
    ResponderAlAlta(15116, QStringLiteral("La contraseña no cumple la directiva."));
    EnlazarEstadisticas();
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_EQ(prompts->Preguntas()[0].texto,
              QStringLiteral("La contraseña no cumple la directiva.\r\nDebe cambiar la contraseña del Usuario "
                             "CV_ESTADISTICAS para que cumpla con las directivas de Windows."));
    EXPECT_EQ(prompts->Preguntas()[0].estilo, 0);
    EXPECT_EQ(servidor->enviadas, (QStringList{A, B, C, D}));
}

TEST_F(Estadisticas, OracleUnSoloGuionDe75Lineas) {
    common::Datos().SetProveedor(QStringLiteral("OraOLEDB.Oracle.1"));
    QString base = QStringLiteral("CV_ESTADISTICAS"), login = base, clave = ClaveEstadisticas();
    CrearUsuarioBase(base, login, clave);

    ASSERT_EQ(servidor->enviadas.size(), 1);
    const QString guion = servidor->enviadas[0];
    ASSERT_TRUE(guion.endsWith(QStringLiteral("\r\n")));
    const QStringList lineas = guion.chopped(2).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lineas.size(), 75);
    EXPECT_EQ(lineas[0], QStringLiteral("CREATE USER CV_ESTADISTICAS IDENTIFIED BY \"RZ_MOLVENTARICO\""));
    EXPECT_EQ(lineas[1], QStringLiteral(" DEFAULT TABLESPACE USERS"));
    EXPECT_EQ(lineas[4], QStringLiteral(" ACCOUNT UNLOCK"));
    EXPECT_EQ(lineas[5], QStringLiteral(" GRANT DBA TO CV_ESTADISTICAS WITH ADMIN OPTION"));
    EXPECT_EQ(lineas[8], QStringLiteral(" GRANT \"CONNECT\" TO CV_ESTADISTICAS WITH ADMIN OPTION"));
    EXPECT_EQ(lineas[37], QStringLiteral(" GRANT GATHER_SYSTEM_STATISTICS TO CV_ESTADISTICAS WITH ADMIN OPTION"));
    EXPECT_EQ(lineas[38], QStringLiteral(" ALTER USER CV_ESTADISTICAS DEFAULT ROLE DBA,\"CONNECT\""));
    EXPECT_EQ(lineas[39], QStringLiteral(" GRANT UNLIMITED TABLESPACE TO CV_ESTADISTICAS WITH ADMIN OPTION"));
    EXPECT_EQ(lineas[40], QStringLiteral(" GRANT EXECUTE ON CTXSYS.CTX_VALIDATE TO CV_ESTADISTICAS WITH GRANT OPTION"));
    EXPECT_EQ(lineas[74],
              QStringLiteral(" GRANT EXECUTE ON XDB.XDB_DATASTORE_PROC TO CV_ESTADISTICAS WITH GRANT OPTION"));
}

TEST_F(Estadisticas, TiempoDeEsperaDesdeLaConfiguracion) {
    const struct {
        const char* guardado;  // nullptr: no row
        int tiempo;
        const char* queda;
    } casos[] = {
        {nullptr, 360, "0"}, {"0", 360, "0"}, {"120", 120, "120"}, {"12.5", 12, "12.5"}, {"abc", 360, "0"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.guardado ? c.guardado : "(sin fila)");
        QFile::remove(dir.filePath(QStringLiteral("datos/CV_ESTADISTICAS.db")));
        common::DatosEstadisticas().SetConectado(false);
        if (c.guardado) {
            auto previa = platform::db::AbrirConexion({QString(), QStringLiteral("CV_ESTADISTICAS")});
            previa->Ejecutar(QStringLiteral("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES "
                                            "('BaseDeDatos', 'TimeOut', '%1')").arg(QString::fromLatin1(c.guardado)));
            ASSERT_EQ(previa->Errors().Count(), 0);
        }
        EnlazarEstadisticas();
        EXPECT_EQ(common::Contexto().TiempoEsperaComandos, c.tiempo);
        const auto filas = TimeOut();
        ASSERT_EQ(filas.size(), 1);
        EXPECT_EQ(filas[0].value(QStringLiteral("Valor")).toString(), QString::fromLatin1(c.queda));
        EXPECT_EQ(filas[0].value(QStringLiteral("Grupo")).toString(), QStringLiteral("BaseDeDatos"));
    }
}

TEST_F(Estadisticas, SinConexionEstadisticaQuedan360) {
    // A folder where the database file should be: it cannot be opened.
    QDir().mkpath(dir.filePath(QStringLiteral("datos/CV_ESTADISTICAS.db")));
    EnlazarEstadisticas();
    EXPECT_FALSE(common::DatosEstadisticas().Conectado());
    EXPECT_EQ(common::Contexto().TiempoEsperaComandos, 360);
}

// On the embedded engine no system procedure exists (2812): the roles are
// still sent, then the link opens the statistics database from its schema.
TEST_F(Estadisticas, MotorIntegradoDeExtremoAExtremo) {
    servidor->procedimientosExisten = false;
    EnlazarEstadisticas();
    EXPECT_EQ(servidor->enviadas, (QStringList{A, B, C, D}));
    EXPECT_EQ(common::Datos().Conexion().Errors().Item(0).NativeError, 2812);
    auto& est = common::DatosEstadisticas();
    ASSERT_TRUE(est.Conectado());
    EXPECT_EQ(est.BaseDeDatos(), QStringLiteral("CV_ESTADISTICAS"));
    EXPECT_EQ(est.Usuario(), QStringLiteral("CV_ESTADISTICAS"));
    EXPECT_EQ(est.Conexion().DefaultDatabase(), QStringLiteral("CV_ESTADISTICAS"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("datos/CV_ESTADISTICAS.db"))));
    EXPECT_EQ(common::Contexto().TiempoEsperaComandos, 360);
    ASSERT_EQ(TimeOut().size(), 1);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}
