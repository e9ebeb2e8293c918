#include "platform/db/Motores.h"
#include "platform/db/Recordset.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

using namespace platform::db;

namespace {

QString Contar(Conexion& c, const QString& tabla) {
    Recordset rs;
    rs.Open(QStringLiteral("SELECT COUNT(*) AS n FROM ") + tabla, c);
    return rs.Fields(QStringLiteral("n")).Value().toString();
}

}  // namespace

// When the engine itself ends the transaction on a failing statement, the
// rest of the batch must not run outside it, committed one by one.
TEST(LoteTransaccion, FalloQueTerminaLaTransaccionDetieneElLote) {
    QTemporaryDir dir;
    pruebas::VariableEntorno datos{"RECEPCION_DATOS", dir.path()};
    auto c = AbrirConexion({QString(), QStringLiteral("GESTION")});
    c->Ejecutar(QStringLiteral("CREATE TABLE T (x INTEGER UNIQUE ON CONFLICT ROLLBACK)"));
    ASSERT_EQ(c->Errors().Count(), 0);

    const QChar cr(13);
    c->Ejecutar(QStringLiteral("BEGIN TRANSACTION ") + cr + cr + cr + QStringLiteral("INSERT INTO T VALUES (1)") +
                cr + QStringLiteral("INSERT INTO T VALUES (1)") + cr + QStringLiteral("INSERT INTO T VALUES (3)") + cr);
    ASSERT_EQ(c->Errors().Count(), 1);
    EXPECT_EQ(c->Errors().Item(0).NativeError, Nativo::ClaveDuplicada);
    c->Ejecutar(QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_EQ(Contar(*c, QStringLiteral("T")), QStringLiteral("0"));
}

// Outside a transaction a batch goes on after a failing statement, as the
// server does.
TEST(LoteTransaccion, SinTransaccionElLoteSigueTrasUnFallo) {
    QTemporaryDir dir;
    pruebas::VariableEntorno datos{"RECEPCION_DATOS", dir.path()};
    auto c = AbrirConexion({QString(), QStringLiteral("GESTION")});
    c->Ejecutar(QStringLiteral("CREATE TABLE T (x INTEGER UNIQUE ON CONFLICT ROLLBACK)"));
    c->Ejecutar(QStringLiteral("INSERT INTO T VALUES (1);INSERT INTO T VALUES (1);INSERT INTO T VALUES (3)"));
    EXPECT_EQ(c->Errors().Count(), 1);
    EXPECT_EQ(Contar(*c, QStringLiteral("T")), QStringLiteral("2"));
}
