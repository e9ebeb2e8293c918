#include "platform/db/Motores.h"
#include "platform/db/Recordset.h"
#include "platform/db/Reloj.h"
#include "platform/runtime/ErrorSistema.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <thread>
#include <vector>

using namespace platform::db;
using platform::runtime::ErrorSistema;

namespace {

class BaseEmbebida : public ::testing::Test {
protected:
    QTemporaryDir dir;
    pruebas::VariableEntorno datos{"RECEPCION_DATOS", dir.path()};
    std::unique_ptr<Conexion> c = AbrirConexion({QString(), QStringLiteral("GESTION")});

    QString Uno(const QString& sql) {
        Recordset rs;
        rs.Open(sql, *c);
        return rs.Eof() ? QStringLiteral("<sin filas>") : rs.Fields(rs.FieldName(0)).Value().toString();
    }
};

}  // namespace

TEST_F(BaseEmbebida, ElTextoDentroDeLiteralesLlegaIntactoALaTabla) {
    const QString cuerpo = QStringLiteral(
        "Hola; select TOP 5 * from x with(nolock) where getDate() > 0\r\nBEGIN TRANSACTION N''z'' ;");
    QString literal = cuerpo;
    literal.replace(QLatin1Char('\''), QStringLiteral("''"));
    c->Ejecutar(QStringLiteral("INSERT INTO V_MA_EMAILMOV (MENSAJE, UIDL) VALUES ('%1', 'u1')").arg(literal));
    ASSERT_EQ(c->Errors().Count(), 0) << c->Errors().Item(0).Description.toStdString();
    EXPECT_EQ(Uno(QStringLiteral("SELECT TOP 1 MENSAJE FROM V_MA_EMAILMOV with(nolock) WHERE UIDL = 'u1'")), cuerpo);
}

TEST_F(BaseEmbebida, GetDateLeeElRelojDeLaCapa) {
    EstablecerReloj([] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 678)); });
    EXPECT_EQ(Uno(QStringLiteral("select getDate() as fecha")), QStringLiteral("2026-01-02T03:04:05"));
    EstablecerReloj({});
}

TEST_F(BaseEmbebida, DialectoSqlServerFueraDeLiterales) {
    c->Ejecutar(QStringLiteral(
        "BEGIN TRANSACTION \r\r\rINSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES (N'1', 'Uno')\r"
        "INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('2', 'Dos');\rCOMMIT TRANSACTION"));
    ASSERT_EQ(c->Errors().Count(), 0);
    EXPECT_EQ(Uno(QStringLiteral("select  top 1 Descripcion from MA_CUENTAS  with(nolock)  order by Codigo desc")),
              QStringLiteral("Dos"));
    EXPECT_EQ(Uno(QStringLiteral("SELECT COUNT(*) FROM (SELECT TOP (1) * FROM MA_CUENTAS WITH (NOLOCK)) t")),
              QStringLiteral("1"));
    EXPECT_EQ(Uno(QStringLiteral("select getDate() as fecha")).size(), 19);
}

TEST_F(BaseEmbebida, TextoSinMayusculasNiAcentosIdentificadoresExactos) {
    c->Ejecutar(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('A1', 'ALMACÉN Pérez')"));
    EXPECT_EQ(Uno(QStringLiteral("SELECT Codigo FROM MA_CUENTAS WHERE DESCRIPCION LIKE '%almacen%'")), QStringLiteral("A1"));
    EXPECT_EQ(Uno(QStringLiteral("SELECT Codigo FROM MA_CUENTAS WHERE Descripcion = 'almacén PEREZ'")), QStringLiteral("A1"));
    EXPECT_EQ(Uno(QStringLiteral("SELECT Codigo FROM MA_CUENTAS WHERE Descripcion LIKE 'alm_cen%'")), QStringLiteral("A1"));
    EXPECT_EQ(Uno(QStringLiteral("SELECT Codigo FROM MA_CUENTAS WHERE Descripcion = 'almacen perez  '")), QStringLiteral("A1"));
    EXPECT_EQ(Uno(QStringLiteral("SELECT Codigo FROM MA_CUENTAS WHERE Descripcion LIKE '%zzz%'")), QStringLiteral("<sin filas>"));
    // Two messages whose identifiers differ only in case are two messages.
    c->Ejecutar(QStringLiteral("INSERT INTO V_MA_EMAILMOV (UIDL, IdConversacion) VALUES ('AbC', 'X1')"));
    c->Ejecutar(QStringLiteral("INSERT INTO V_MA_EMAILMOV (UIDL, IdConversacion) VALUES ('abc', 'x1')"));
    EXPECT_EQ(c->Errors().Count(), 0);
    EXPECT_EQ(Uno(QStringLiteral("SELECT COUNT(*) FROM V_MA_EMAILMOV WHERE UIDL = 'abc'")), QStringLiteral("1"));
    EXPECT_EQ(Uno(QStringLiteral("SELECT COUNT(*) FROM V_MA_EMAILMOV WHERE IDCONVERSACION = 'X1'")), QStringLiteral("1"));
}

TEST_F(BaseEmbebida, ErroresVanALaColeccionConNumerosNativos) {
    struct Caso { const char* sql; long nativo; };
    const Caso casos[] = {
        {"INSERT INTO V_MA_EMAILMOV (UIDL) VALUES ('dup')", 2627},
        {"SELECT * FROM NO_EXISTE", 208},
        {"SELECT NoHay FROM MA_CUENTAS", 207},
        {"INSERT INTO MA_CUENTAS (NoHay) VALUES ('x')", 207},
        {"SELEC * FROM MA_CUENTAS", 102},
        {"EXEC sp_addlogin N'x', 'y', 'z'", 2812},
    };
    c->Ejecutar(QStringLiteral("INSERT INTO V_MA_EMAILMOV (UIDL) VALUES ('dup')"));
    for (const Caso& caso : casos) {
        c->Ejecutar(QString::fromUtf8(caso.sql));
        ASSERT_EQ(c->Errors().Count(), 1) << caso.sql;
        EXPECT_EQ(c->Errors().Item(0).NativeError, caso.nativo) << caso.sql;
        EXPECT_FALSE(c->Errors().Item(0).Description.isEmpty());
    }
    // Every call starts with an empty collection.
    c->Ejecutar(QStringLiteral("SELECT 1"));
    EXPECT_EQ(c->Errors().Count(), 0);
    // A cursor on a bad query raises and leaves the error in the collection.
    Recordset rs;
    EXPECT_THROW(rs.Open(QStringLiteral("SELECT * FROM NO_EXISTE"), *c), ErrorSistema);
    EXPECT_EQ(c->Errors().Item(0).NativeError, 208);
    c->Close();
    try {
        c->Ejecutar(QStringLiteral("SELECT 1"));
        FAIL();
    } catch (const ErrorSistema& e) {
        EXPECT_EQ(e.Numero, 3704);
    }
}

TEST_F(BaseEmbebida, RecordsetActualizableAgregaYModifica) {
    {
        Recordset rs;
        rs.Open(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), *c, 2, 3);
        EXPECT_TRUE(rs.Eof());
        EXPECT_TRUE(rs.Bof());
        rs.AddNew();
        rs.Fields(QStringLiteral("proceso")) = QStringLiteral("recepcion");
        rs.Fields(QStringLiteral("Descripcion")) = QStringLiteral("");
        rs.Fields(QStringLiteral("Error")) = 2627;
        rs.Update();
        EXPECT_GT(rs.Fields(QStringLiteral("ID")).Value().toLongLong(), 0);
    }
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM AUX_ERR WHERE Proceso = 'RECEPCION'"), *c, 2, 3);
    ASSERT_FALSE(rs.Eof());
    EXPECT_TRUE(rs.Fields(QStringLiteral("SQL")).Value().isNull());      // Null stays Null
    EXPECT_EQ(rs.Fields(QStringLiteral("Descripcion")).Value(), QVariant(QString()));
    EXPECT_FALSE(rs.Fields(QStringLiteral("Descripcion")).Value().isNull());  // "" is not Null
    rs.Fields(QStringLiteral("SQL")) = QStringLiteral("it's ok");
    rs.Update();
    rs.Close();
    EXPECT_EQ(Uno(QStringLiteral("SELECT SQL FROM AUX_ERR")), QStringLiteral("it's ok"));
    EXPECT_THROW(rs.Fields(QStringLiteral("SQL")), ErrorSistema);  // closed
}

TEST_F(BaseEmbebida, CursorDeSoloAvanceConParametros) {
    for (int i = 0; i < 3; ++i)
        c->Ejecutar(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo) VALUES ('%1')").arg(i));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM MA_CUENTAS WHERE Codigo <> ? ORDER BY Codigo"), *c, 0, 1,
            {QStringLiteral("1")});
    QStringList vistos;
    for (; !rs.Eof(); rs.MoveNext()) vistos << rs.Fields(QStringLiteral("CODIGO")).Value().toString();
    EXPECT_EQ(vistos, (QStringList{QStringLiteral("0"), QStringLiteral("2")}));
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(QStringLiteral("codigo")).Value().toString(), QStringLiteral("0"));
    try {
        rs.Fields(QStringLiteral("NoHay"));
        FAIL();
    } catch (const ErrorSistema& e) {
        EXPECT_EQ(e.Numero, 3265);
    }
    // By position too, as the old collection allowed.
    const Recordset& filas = rs;
    const int columna = filas.FieldCount() - 1;
    EXPECT_EQ(filas.Fields(0), filas.Fields(filas.FieldName(0)));
    EXPECT_EQ(filas.Fields(columna), filas.Fields(filas.FieldName(columna)));
    for (int fuera : {-1, filas.FieldCount()}) {
        try {
            filas.Fields(fuera);
            FAIL() << fuera;
        } catch (const ErrorSistema& e) {
            EXPECT_EQ(e.Numero, 3265);
        }
    }
}

TEST(MotorEmbebido, FallosAlAbrirDanUnMensajeClaro) {
    QTemporaryDir dir;
    // A file that is not a database.
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("ROTA.db")), QByteArray(4096, 'x'));
    // A data folder that cannot be created (its parent is a file).
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("archivo")), "x");
    struct Caso { QString carpeta; QString base; };
    const Caso casos[] = {
        {dir.path(), QStringLiteral("ROTA")},
        {dir.filePath(QStringLiteral("archivo/datos")), QStringLiteral("GESTION")},
        {dir.path(), QStringLiteral("../fuera")},
    };
    for (const Caso& caso : casos) {
        pruebas::VariableEntorno datos("RECEPCION_DATOS", caso.carpeta);
        try {
            AbrirConexion({QString(), caso.base});
            ADD_FAILURE() << caso.base.toStdString();
        } catch (const ErrorSistema& e) {
            EXPECT_TRUE(e.Descripcion.contains(caso.base)) << e.Descripcion.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("fuera.db"))));
}

TEST_F(BaseEmbebida, FallosDelMotorEnCastellanoConSuTextoDetras) {
    // The operator reads the Spanish part; the engine's text follows for
    // support when it says more than its generic English for the code.
    struct Caso { const char* sql; const char* descripcion; const char* motor; };
    const Caso casos[] = {
        {"CREATE TABLE MA_CUENTAS (x)", "Error en la instrucción SQL", "already exists"},
        {"SELECT 'sin cerrar", "Error en la instrucción SQL", "unrecognized token"},
        {"SELECT * FROM MA_CUENTAS WHERE (", "Sintaxis incorrecta", "incomplete input"},
        {"PRAGMA query_only=1; INSERT INTO MA_CUENTAS (Codigo) VALUES ('x')", "La base de datos es de solo lectura",
         nullptr},
        // The database cannot grow: what a full disk gives.
        {"PRAGMA query_only=0; PRAGMA max_page_count=1; "
         "INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('x', hex(zeroblob(200000)))",
         "No cabe más en la base de datos", nullptr},
    };
    for (const Caso& caso : casos) {
        c->Ejecutar(QString::fromUtf8(caso.sql));
        ASSERT_EQ(c->Errors().Count(), 1) << caso.sql;
        const QString d = c->Errors().Item(0).Description;
        EXPECT_TRUE(d.startsWith(QString::fromUtf8(caso.descripcion))) << d.toStdString();
        if (caso.motor)
            EXPECT_TRUE(d.contains(QStringLiteral("(%1").arg(QString::fromUtf8(caso.motor))) ||
                        d.contains(QString::fromUtf8(caso.motor) + QLatin1Char(')')))
                << d.toStdString();
        else
            EXPECT_FALSE(d.contains(QLatin1Char('('))) << d.toStdString();
    }
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("ROTA.db")), QByteArray(4096, 'x'));
    try {
        AbrirConexion({QString(), QStringLiteral("ROTA")});
        ADD_FAILURE();
    } catch (const ErrorSistema& e) {
        EXPECT_TRUE(e.Descripcion.endsWith(QStringLiteral(": El archivo no es una base de datos"))) << e.Descripcion.toStdString();
    }
}

TEST(MotorEmbebido, SegundoProcesoLeeMientrasSeEscribe) {
    QTemporaryDir dir;
    pruebas::VariableEntorno datos("RECEPCION_DATOS", dir.path());
    auto escritor = AbrirConexion({QString(), QStringLiteral("GESTION")});
    auto lector = AbrirConexion({QString(), QStringLiteral("gestion")});  // same file
    escritor->Ejecutar(QStringLiteral("BEGIN TRANSACTION"));
    escritor->Ejecutar(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo) VALUES ('w')"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) AS n FROM MA_CUENTAS"), *lector);
    EXPECT_EQ(rs.Fields(QStringLiteral("n")).Value().toInt(), 0);  // WAL: no block, no dirty read
    rs.Close();
    escritor->Ejecutar(QStringLiteral("COMMIT TRANSACTION"));
    rs.Open(QStringLiteral("SELECT COUNT(*) AS n FROM MA_CUENTAS"), *lector);
    EXPECT_EQ(rs.Fields(QStringLiteral("n")).Value().toInt(), 1);
}

TEST(MotorEmbebido, ArchivoVacioRecibeSuEsquemaYElQueNoEsBaseNoSeToca) {
    QTemporaryDir dir;
    pruebas::VariableEntorno datos("RECEPCION_DATOS", dir.path());
    // A crash in the middle of the first start, or a file made by hand.
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("GESTION.db")), QByteArray());
    {
        auto c = AbrirConexion({QString(), QStringLiteral("GESTION")});
        Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) AS n FROM V_MA_EMAILMOV"), *c);
        EXPECT_EQ(rs.Fields(QStringLiteral("n")).Value().toInt(), 0);
    }
    // Opened again: the schema is there, nothing is created twice.
    EXPECT_NO_THROW(AbrirConexion({QString(), QStringLiteral("GESTION")}));

    const QByteArray ajeno = "SQLite format 2 -- not really\n" + QByteArray(5000, 'z');
    const QString ruta = dir.filePath(QStringLiteral("OTRA.db"));
    pruebas::EscribirArchivo(ruta, ajeno);
    try {
        AbrirConexion({QString(), QStringLiteral("OTRA")});
        ADD_FAILURE() << "abierta";
    } catch (const ErrorSistema& e) {
        EXPECT_TRUE(e.Descripcion.contains(ruta)) << e.Descripcion.toStdString();
        EXPECT_TRUE(e.Descripcion.contains(QStringLiteral("no es una base de datos"))) << e.Descripcion.toStdString();
    }
    EXPECT_EQ(pruebas::LeerArchivo(ruta), ajeno);
}

TEST(MotorEmbebido, VariosAbrenALaVezUnaCarpetaNueva) {
    // Each round a new data folder, opened by several connections at the same moment.
    for (int ronda = 0; ronda < 20; ++ronda) {
        QTemporaryDir dir;
        pruebas::VariableEntorno datos("RECEPCION_DATOS", dir.path());
        constexpr int Cuantos = 5;
        std::atomic<int> listos{0};
        std::atomic<int> fallos{0};
        std::vector<std::thread> hilos;
        for (int i = 0; i < Cuantos; ++i) {
            hilos.emplace_back([&] {
                ++listos;
                while (listos < Cuantos) std::this_thread::yield();
                try {
                    auto c = AbrirConexion({QString(), QStringLiteral("GESTION")});
                    Recordset rs;
                    rs.Open(QStringLiteral("SELECT COUNT(*) AS n FROM V_MA_EMAILMOV"), *c);
                    if (rs.Fields(QStringLiteral("n")).Value().toInt() != 0) ++fallos;
                } catch (const ErrorSistema& e) {
                    ADD_FAILURE() << e.Descripcion.toStdString();
                    ++fallos;
                }
            });
        }
        for (auto& h : hilos) h.join();
        ASSERT_EQ(fallos, 0) << "ronda " << ronda;
        EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("GESTION.db"))));
    }
}
