// Which connection a profile leads to, and what the operator reads when a
// server cannot be reached.
#include "platform/db/CadenasOdbc.h"
#include "platform/db/Motores.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/ErrorSistema.h"
#include "ApoyoPruebas.h"
#include "ServidorMariaDb.h"

#include <gtest/gtest.h>

using namespace platform::db;
using platform::runtime::ErrorSistema;
using pruebas::ServidorMariaDb;

TEST(CadenasOdbc, SqlServerPorFreeTdsDesdeCadaFormaDeServidor) {
    struct Caso { const char* servidor; const char* cadena; };
    const Caso casos[] = {
        {"SRV1", "DRIVER={FreeTDS};SERVER=SRV1;PORT=1433;TDS_Version=7.4;ClientCharset=UTF-8;"
                 "DATABASE=GESTION;UID=ANA;PWD=x;"},
        {"SRV1\\CONTA", "DRIVER={FreeTDS};SERVER=SRV1\\CONTA;TDS_Version=7.4;ClientCharset=UTF-8;"
                        "DATABASE=GESTION;UID=ANA;PWD=x;"},
        {" 10.0.0.5 , 1500 ", "DRIVER={FreeTDS};SERVER=10.0.0.5;PORT=1500;TDS_Version=7.4;ClientCharset=UTF-8;"
                              "DATABASE=GESTION;UID=ANA;PWD=x;"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(CadenaSqlServer(QString::fromUtf8(c.servidor), QStringLiteral("GESTION"), QStringLiteral("ANA"),
                                  QStringLiteral("x")),
                  QString::fromUtf8(c.cadena));
    // A password that would end the entry is put in braces.
    EXPECT_EQ(CadenaFuente(QStringLiteral("EMPRESA"), QStringLiteral("GESTION"), QStringLiteral("ANA"),
                           QStringLiteral("a;b}c")),
              QStringLiteral("DSN=EMPRESA;DATABASE=GESTION;UID=ANA;PWD={a;b}}c};"));
    EXPECT_TRUE(EsCadenaOdbc(QStringLiteral(" Driver={FreeTDS};Server=x;")));
    EXPECT_TRUE(EsCadenaOdbc(QStringLiteral("dsn=EMPRESA;")));
    EXPECT_FALSE(EsCadenaOdbc(QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=X;")));
}

TEST(ConexionServidor, OrigenDeDatosServidorInalcanzableYOracle) {
    auto& servidor = ServidorMariaDb::Instancia();
    ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
    ASSERT_EQ(servidor.CrearBase(QStringLiteral("origen")), QString());
    // A data source named as the server, with the profile's database and login.
    auto c = AbrirConexion({ServidorMariaDb::Fuente().toLower(), QStringLiteral("ORIGEN"), ServidorMariaDb::Usuario(),
                            ServidorMariaDb::Password()});
    EXPECT_EQ(c->Motor(), QStringLiteral("MariaDB"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT DATABASE()"), *c);
    EXPECT_EQ(rs.Fields(rs.FieldName(0)).Value().toString(), QStringLiteral("origen"));
    // The caller's own ODBC string, as it is.
    const QString propia = QStringLiteral("DSN=%1;DATABASE=origen;UID=%2;PWD=%3;")
                               .arg(ServidorMariaDb::Fuente(), ServidorMariaDb::Usuario(),
                                    ValorCadena(ServidorMariaDb::Password()));
    EXPECT_TRUE(AbrirConexion({QString(), QStringLiteral("X"), QString(), QString(), propia})->Abierta());

    struct Caso { ParametrosConexion p; QStringList dice; };
    const Caso casos[] = {
        // Wrong password on a reachable server.
        {{ServidorMariaDb::Fuente(), QStringLiteral("origen"), ServidorMariaDb::Usuario(), QStringLiteral("mala")},
         {QStringLiteral("No se pudo conectar con el servidor PRUEBA_MARIADB"), QStringLiteral("denied")}},
        // No server listens there.
        {{QString(), QStringLiteral("GESTION"), QString(), QString(),
          QStringLiteral("Driver=%1;SERVER=127.0.0.1;PORT=1;").arg(QStringLiteral("MariaDB Unicode"))},
         {QStringLiteral("No se pudo conectar con el servidor"), QStringLiteral("127.0.0.1")}},
        // Oracle without a data source of that name.
        {{QStringLiteral("ORASRV"), QStringLiteral("VENTAS"), QStringLiteral("u"), QStringLiteral("p"),
          QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=VENTAS;User Id=u;Password=p;")},
         {QStringLiteral("Oracle VENTAS"), QStringLiteral("controlador ODBC de Oracle")}},
    };
    for (const Caso& caso : casos) {
        try {
            AbrirConexion(caso.p);
            ADD_FAILURE() << caso.p.servidor.toStdString();
        } catch (const ErrorSistema& e) {
            for (const QString& parte : caso.dice)
                EXPECT_TRUE(e.Descripcion.contains(parte)) << e.Descripcion.toStdString();
        }
    }
}

// SQL Server cannot run here: only when a reachable one is named.
TEST(ConexionServidor, SqlServerDeVerdadCuandoSeNombra) {
    const QString fuente = qEnvironmentVariable("RECEPCION_PRUEBA_SQLSERVER");
    if (fuente.isEmpty()) GTEST_SKIP() << "RECEPCION_PRUEBA_SQLSERVER no nombra un origen de datos";
    auto c = AbrirConexion({fuente, QString(), qEnvironmentVariable("RECEPCION_PRUEBA_SQLSERVER_USUARIO"),
                            qEnvironmentVariable("RECEPCION_PRUEBA_SQLSERVER_PASSWORD")});
    EXPECT_TRUE(c->Motor().contains(QStringLiteral("SQL Server")));
    c->Ejecutar(QStringLiteral("IF OBJECT_ID('PRUEBA_RECEPCION') IS NOT NULL DROP TABLE PRUEBA_RECEPCION"));
    c->Ejecutar(QStringLiteral("CREATE TABLE PRUEBA_RECEPCION (ID INT IDENTITY(1,1) PRIMARY KEY, UIDL NVARCHAR(20) UNIQUE, "
                               "ASUNTO NVARCHAR(10))"));
    ASSERT_EQ(c->Errors().Count(), 0) << c->Errors().Item(0).Description.toStdString();
    c->Ejecutar(QStringLiteral("INSERT INTO PRUEBA_RECEPCION (UIDL, ASUNTO) VALUES ('u', N'ñandú con texto largo')"));
    EXPECT_EQ(c->Errors().Count(), 0);
    c->Ejecutar(QStringLiteral("INSERT INTO PRUEBA_RECEPCION (UIDL) VALUES ('u')"));
    ASSERT_EQ(c->Errors().Count(), 1);
    EXPECT_EQ(c->Errors().Item(0).NativeError, Nativo::ClaveDuplicada);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT TOP 1 ASUNTO FROM PRUEBA_RECEPCION with(nolock)"), *c);
    EXPECT_EQ(rs.Fields(QStringLiteral("ASUNTO")).Value().toString(), QStringLiteral("ñandú con "));
    rs.Close();
    c->Ejecutar(QStringLiteral("DROP TABLE PRUEBA_RECEPCION"));
}
