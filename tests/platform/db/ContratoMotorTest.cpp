// What every engine promises its callers, as one table of cases run on the
// embedded database and on a real MariaDB server.
#include "platform/db/Motores.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/ErrorSistema.h"
#include "ApoyoPruebas.h"
#include "ServidorMariaDb.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace platform::db;
using platform::runtime::ErrorSistema;
using pruebas::ServidorMariaDb;

namespace {

enum class Motor { Integrada, MariaDb };

class ContratoMotor : public ::testing::TestWithParam<Motor> {
protected:
    QTemporaryDir dir;
    pruebas::VariableEntorno datos{"RECEPCION_DATOS", dir.path()};
    std::unique_ptr<Conexion> c;

    void SetUp() override {
        if (GetParam() == Motor::Integrada) {
            c = AbrirConexion({QString(), QStringLiteral("GESTION")});
            return;
        }
        auto& servidor = ServidorMariaDb::Instancia();
        ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
        static int n = 0;
        const QString base = QStringLiteral("contrato%1").arg(++n);
        ASSERT_EQ(servidor.CrearBase(base), QString());
        c = AbrirConexion({ServidorMariaDb::Fuente(), base, ServidorMariaDb::Usuario(), ServidorMariaDb::Password()});
        c->SetDefaultDatabase(base);
    }
    bool Servidor() const { return GetParam() != Motor::Integrada; }

    void Sql(const QString& s) {
        c->Ejecutar(s);
        ASSERT_EQ(c->Errors().Count(), 0) << s.toStdString() << ": " << c->Errors().Item(0).Description.toStdString();
    }
    Valor Uno(const QString& sql, const QList<Valor>& parametros = {}) {
        Recordset rs;
        rs.Open(sql, *c, Cursores::ForwardOnly, Bloqueos::ReadOnly, parametros);
        return rs.Eof() ? Valor(QStringLiteral("<sin filas>")) : rs.Fields(rs.FieldName(0)).Value();
    }
    QString Texto(const QString& sql, const QList<Valor>& parametros = {}) { return Uno(sql, parametros).toString(); }
};

}  // namespace

TEST_P(ContratoMotor, LiteralesLleganIntactos) {
    const QString cuerpo = QStringLiteral(
        "Hola; select TOP 5 * from x with(nolock) where getDate() > 0\r\nBEGIN TRANSACTION N''z'' ; "
        "C:\\temp\\nuevo \\' ñandú € 😀 -- no es comentario /* ni esto */");
    QString literal = cuerpo;
    literal.replace(QLatin1Char('\''), QStringLiteral("''"));
    Sql(QStringLiteral("INSERT INTO V_MA_EMAILMOV (MENSAJE, UIDL) VALUES (N'%1', 'u1')").arg(literal));
    EXPECT_EQ(Texto(QStringLiteral("SELECT TOP 1 MENSAJE FROM V_MA_EMAILMOV with(nolock) WHERE UIDL = 'u1'")), cuerpo);
}

TEST_P(ContratoMotor, DialectoSqlServerFueraDeLiterales) {
    Sql(QStringLiteral("BEGIN TRANSACTION \r\r\rINSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES (N'1', 'Uno')\r"
                       "INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('2', 'Dos');\rCOMMIT TRANSACTION"));
    EXPECT_EQ(Texto(QStringLiteral("select  top 1 Descripcion from MA_CUENTAS  with(nolock)  order by Codigo desc")),
              QStringLiteral("Dos"));
    EXPECT_EQ(Texto(QStringLiteral("SELECT COUNT(*) FROM (SELECT TOP (1) * FROM MA_CUENTAS WITH (NOLOCK)) t")),
              QStringLiteral("1"));
    const Valor ahora = Uno(QStringLiteral("select getDate() as fecha"));
    const QDateTime fecha = ahora.typeId() == QMetaType::QDateTime
                                ? ahora.toDateTime()
                                : QDateTime::fromString(ahora.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    EXPECT_LT(std::abs(fecha.secsTo(QDateTime::currentDateTime())), 120) << ahora.toString().toStdString();
    EXPECT_EQ(Texto(QStringLiteral("SELECT len('abc  ')")), QStringLiteral("3"));
}

TEST_P(ContratoMotor, ParametrosEnlazados) {
    for (int i = 0; i < 3; ++i) Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo) VALUES ('%1')").arg(i));
    Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('x''y', 'O''Brien')"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM MA_CUENTAS WHERE Codigo <> ? AND Codigo <> ? ORDER BY Codigo"), *c, 0, 1,
            {QStringLiteral("1"), QStringLiteral("x'y")});
    QStringList vistos;
    for (; !rs.Eof(); rs.MoveNext()) vistos << rs.Fields(QStringLiteral("CODIGO")).Value().toString();
    EXPECT_EQ(vistos, (QStringList{QStringLiteral("0"), QStringLiteral("2")}));
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(QStringLiteral("codigo")).Value().toString(), QStringLiteral("0"));
    // A bound value is never SQL text, and numbers bind as numbers.
    EXPECT_EQ(Texto(QStringLiteral("SELECT Descripcion FROM MA_CUENTAS WHERE Codigo = ?"), {QStringLiteral("x'y")}),
              QStringLiteral("O'Brien"));
    EXPECT_EQ(Texto(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS WHERE Codigo = ? OR 1 = ?"),
                    {QStringLiteral("' OR '1'='1"), 2}), QStringLiteral("0"));
}

TEST_P(ContratoMotor, CursorActualizableConIdentidadNuloYVacio) {
    qlonglong primero = 0;
    for (int vuelta = 0; vuelta < 2; ++vuelta) {
        Recordset rs;
        rs.Open(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), *c, 2, 3);
        rs.AddNew();
        rs.Fields(QStringLiteral("proceso")) = QStringLiteral("recepcion");
        rs.Fields(QStringLiteral("Descripcion")) = QStringLiteral("");
        rs.Fields(QStringLiteral("Error")) = 2627;
        rs.Update();
        const qlonglong id = rs.Fields(QStringLiteral("ID")).Value().toLongLong();
        EXPECT_GT(id, primero);  // the identity as stored, read back
        primero = id;
    }
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM AUX_ERR WHERE Proceso = 'RECEPCION' AND ID = ?"),
            *c, 2, 3, {primero});
    ASSERT_FALSE(rs.Eof());
    EXPECT_TRUE(EsNulo(rs.Fields(QStringLiteral("SQL")).Value()));  // Null stays Null
    EXPECT_EQ(rs.Fields(QStringLiteral("Descripcion")).Value(), Valor(QString()));
    EXPECT_FALSE(EsNulo(rs.Fields(QStringLiteral("Descripcion")).Value()));  // "" is not Null
    rs.Fields(QStringLiteral("SQL")) = QStringLiteral("it's ok");
    rs.Update();
    rs.Close();
    EXPECT_EQ(Texto(QStringLiteral("SELECT \"SQL\" FROM AUX_ERR WHERE ID = ?"), {primero}), QStringLiteral("it's ok"));
    EXPECT_EQ(Texto(QStringLiteral("SELECT COUNT(*) FROM AUX_ERR WHERE \"SQL\" IS NULL")), QStringLiteral("1"));
    // A new row's defaults are seen, and a key that is not an identity is kept.
    Recordset cuentas;
    cuentas.Open(QStringLiteral("SELECT * FROM V_MA_EMAILMOV"), *c, 2, 3);
    cuentas.AddNew();
    cuentas.Fields(QStringLiteral("UIDL")) = QStringLiteral("n1");
    cuentas.Update();
    EXPECT_EQ(cuentas.Fields(QStringLiteral("Eliminado")).Value().toInt(), 0);
    EXPECT_EQ(cuentas.Fields(QStringLiteral("IDCOMPROBANTE")).Value(), Valor(QString()));
}

TEST_P(ContratoMotor, ErroresConNumerosNativos) {
    Sql(QStringLiteral("CREATE TABLE PRUEBA_NN (x INT NOT NULL)"));
    Sql(QStringLiteral("INSERT INTO V_MA_EMAILMOV (UIDL) VALUES ('dup')"));
    struct Caso { const char* sql; long nativo; };
    const Caso casos[] = {
        {"INSERT INTO V_MA_EMAILMOV (UIDL) VALUES ('dup')", Nativo::ClaveDuplicada},
        {"INSERT INTO PRUEBA_NN (x) VALUES (NULL)", Nativo::ValorNulo},
        {"SELECT * FROM NO_EXISTE", Nativo::ObjetoNoValido},
        {"SELECT NoHay FROM MA_CUENTAS", Nativo::ColumnaNoValida},
        {"SELEC * FROM MA_CUENTAS", Nativo::Sintaxis},
        {"EXEC sp_addlogin N'x', 'y', 'z'", Nativo::ProcedimientoNoEncontrado},
    };
    for (const Caso& caso : casos) {
        c->Ejecutar(QString::fromUtf8(caso.sql));
        ASSERT_EQ(c->Errors().Count(), 1) << caso.sql;
        EXPECT_EQ(c->Errors().Item(0).NativeError, caso.nativo) << caso.sql;
        EXPECT_FALSE(c->Errors().Item(0).Description.isEmpty());
    }
    c->Ejecutar(QStringLiteral("SELECT 1"));
    EXPECT_EQ(c->Errors().Count(), 0);  // every call starts empty
    Recordset rs;
    EXPECT_THROW(rs.Open(QStringLiteral("SELECT * FROM NO_EXISTE"), *c), ErrorSistema);
    EXPECT_EQ(c->Errors().Item(0).NativeError, Nativo::ObjetoNoValido);
    c->Close();
    try {
        c->Ejecutar(QStringLiteral("SELECT 1"));
        FAIL();
    } catch (const ErrorSistema& e) {
        EXPECT_EQ(e.Numero, 3704);
    }
}

TEST_P(ContratoMotor, LoteRevertido) {
    c->Ejecutar(QStringLiteral("BEGIN TRANSACTION \r\r\rINSERT INTO MA_CUENTAS (Codigo) VALUES ('a')\r"
                               "INSERT INTO MA_CUENTAS (Codigo) VALUES ('a')\rINSERT INTO MA_CUENTAS (Codigo) VALUES ('b')\r"));
    ASSERT_EQ(c->Errors().Count(), 1);
    EXPECT_EQ(c->Errors().Item(0).NativeError, Nativo::ClaveDuplicada);
    Sql(QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_EQ(Texto(QStringLiteral("SELECT COUNT(*) FROM MA_CUENTAS")), QStringLiteral("0"));
}

TEST_P(ContratoMotor, TextoSinMayusculasNiAcentosIdentificadoresExactos) {
    Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('A1', 'ALMACÉN Pérez')"));
    const char* iguales[] = {
        "SELECT Codigo FROM MA_CUENTAS WHERE DESCRIPCION LIKE '%almacen%'",
        "SELECT Codigo FROM MA_CUENTAS WHERE Descripcion = 'almacén PEREZ'",
        "SELECT Codigo FROM MA_CUENTAS WHERE Descripcion LIKE 'alm_cen%'",
        "SELECT Codigo FROM MA_CUENTAS WHERE Descripcion = 'almacen perez  '",
        "SELECT Codigo FROM MA_CUENTAS WHERE codigo = 'a1'",
    };
    for (const char* sql : iguales) EXPECT_EQ(Texto(QString::fromUtf8(sql)), QStringLiteral("A1")) << sql;
    EXPECT_EQ(Texto(QStringLiteral("SELECT Codigo FROM MA_CUENTAS WHERE Descripcion LIKE '%zzz%'")),
              QStringLiteral("<sin filas>"));
    // Two messages whose identifiers differ only in case are two messages.
    Sql(QStringLiteral("INSERT INTO V_MA_EMAILMOV (UIDL, IdConversacion) VALUES ('AbC', 'X1')"));
    Sql(QStringLiteral("INSERT INTO V_MA_EMAILMOV (UIDL, IdConversacion) VALUES ('abc', 'x1')"));
    EXPECT_EQ(Texto(QStringLiteral("SELECT COUNT(*) FROM V_MA_EMAILMOV WHERE UIDL = 'abc'")), QStringLiteral("1"));
    EXPECT_EQ(Texto(QStringLiteral("SELECT COUNT(*) FROM V_MA_EMAILMOV WHERE IDCONVERSACION = ?"), {QStringLiteral("X1")}),
              QStringLiteral("1"));
}

// SQL Server's bracket escapes mean the same on every engine; a backslash
// stays an ordinary character, with or without brackets beside it.
TEST_P(ContratoMotor, CorchetesEnLikeSonLiterales) {
    Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('A1', 'Almacen Central')"));
    Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('A2', '50% menos')"));
    Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('A3', 'uno_dos')"));
    Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('A4', '[Oferta] C:\\ruta')"));
    struct Caso { const char* patron; const char* codigos; };
    const Caso casos[] = {
        {"'%[%]%'", "A2"},
        {"'%[_]%'", "A3"},
        {"'%[[]%'", "A4"},
        {"'[[]oferta]%'", "A4"},
        {"'%[%] MENOS'", "A2"},
        {"'%:\\%'", "A4"},
        {"'%[[]%\\ruta'", "A4"},
        {"'%[%]%' ESCAPE '!'", "A2"},
        {"'%!_%' ESCAPE '!'", "A3"},
        {"'%'", "A1,A2,A3,A4"},
        {"'%_%'", "A1,A2,A3,A4"},
        {"'alm[a]cen%'", "A1"},
    };
    for (const Caso& caso : casos) {
        const QString sql = QStringLiteral("SELECT Codigo FROM MA_CUENTAS WHERE Descripcion LIKE %1 ORDER BY Codigo")
                                .arg(QString::fromUtf8(caso.patron));
        Recordset rs;
        rs.Open(sql, *c, Cursores::ForwardOnly, Bloqueos::ReadOnly);
        QStringList codigos;
        for (; !rs.Eof(); rs.MoveNext()) codigos << rs.Fields(QStringLiteral("Codigo")).Value().toString();
        EXPECT_EQ(codigos.join(QLatin1Char(',')), QString::fromUtf8(caso.codigos)) << sql.toStdString();
    }
}

// The embedded database keeps any length; a server column has a size, and
// a longer text is cut to it rather than refused.
TEST_P(ContratoMotor, TextoMasLargoQueSuColumna) {
    const QString remitente = QString(2000, QLatin1Char('r')) + QStringLiteral("@x.test");
    const QString asunto = QString(300, QLatin1Char('a'));
    Sql(QStringLiteral(" INSERT INTO V_MA_EMAILMOV (STATUS,DE,ASUNTO,UIDL) VALUES ('TXT','%1','%2','largo')")
            .arg(remitente, asunto));
    EXPECT_EQ(Texto(QStringLiteral("SELECT len(DE) FROM V_MA_EMAILMOV WHERE UIDL = 'largo'")),
              QString::number(Servidor() ? 255 : remitente.size()));
    Sql(QStringLiteral("UPDATE V_MA_EMAILMOV SET ASUNTO = N'%1', STATUS = 'HTML' WHERE UIDL = 'largo'").arg(asunto + asunto));
    EXPECT_EQ(Texto(QStringLiteral("SELECT len(ASUNTO) FROM V_MA_EMAILMOV WHERE UIDL = 'largo'")),
              QString::number(Servidor() ? 250 : 600));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM AUX_ERR"), *c, 2, 3);
    rs.AddNew();
    rs.Fields(QStringLiteral("Descripcion")) = QString(400, QLatin1Char('d'));
    rs.Update();
    EXPECT_EQ(rs.Fields(QStringLiteral("Descripcion")).Value().toString().size(), Servidor() ? 255 : 400);
}

INSTANTIATE_TEST_SUITE_P(Motores, ContratoMotor, ::testing::Values(Motor::Integrada, Motor::MariaDb),
                         [](const auto& info) {
                             return std::string(info.param == Motor::Integrada ? "Integrada" : "MariaDB");
                         });
