#include "common/SentenciasSql.h"
#include "BasePrueba.h"
#include "ErrorEsperado.h"

using namespace common;
using platform::runtime::ErrorSistema;

namespace {
class Sentencias : public pruebas::BaseConectada {
protected:
    void SetUp() override {
        BaseConectada::SetUp();
        ListaCampos().clear();
    }
    void TearDown() override {
        ListaCampos().clear();
        BaseConectada::TearDown();
    }
};

using pruebas::NumeroDe;
}  // namespace

TEST_F(Sentencias, ValoresNullYApostrofos) {
    const struct {
        const char* valor;
        const char* sql;
        const char* queda;  // the caller's variable afterwards
    } casos[] = {
        {"null", "Null", "null"},   {"NULL", "Null", "NULL"}, {"'Null'", "Null", "Null"},
        {"it's", "'its'", "its"},   {"", "''", ""},          {"  x ", "'  x '", "  x "},
    };
    for (const auto& c : casos) {
        QString valor = QString::fromUtf8(c.valor);
        AgregarCampo(QStringLiteral("C"), valor, QStringLiteral("'"), true);
        ASSERT_EQ(ListaCampos().size(), 1);
        EXPECT_EQ(ListaCampos()[0].Nombre, QStringLiteral("C"));
        EXPECT_EQ(ListaCampos()[0].Valor, QString::fromUtf8(c.sql)) << c.valor;
        EXPECT_EQ(valor, QString::fromUtf8(c.queda));
    }
}

TEST_F(Sentencias, InsertDelRegistroDeAccesoYElementosVacios) {
    const char* columnas[] = {"Maquina", "Usuario", "Formulario", "Tarea", "Ingreso", "NombreUsuario"};
    const char* valores[] = {"PC1", "ANA", "RECEPCION-EMAIL", "", "08/12/26 21:05", "Ana"};
    for (int i = 0; i < 6; ++i) {
        QString v = QString::fromLatin1(valores[i]);
        AgregarCampo(QString::fromLatin1(columnas[i]), v, QStringLiteral("'"), i == 0);
    }
    QStringList sentencias{QString()};
    QString condicion;
    ArmarSentencia(ListaCampos(), sentencias, QStringLiteral("Control_Acceso"), false, condicion, false);

    ASSERT_EQ(sentencias.size(), 3);
    EXPECT_EQ(sentencias[0], QString());
    EXPECT_EQ(sentencias[1],
              QStringLiteral("INSERT INTO Control_Acceso (Maquina,Usuario,Formulario,Tarea,Ingreso,NombreUsuario) "
                             "VALUES ('PC1','ANA','RECEPCION-EMAIL','','08/12/26 21:05','Ana')"));
    EXPECT_EQ(sentencias[2], QString());
    // Emptied: one element with empty texts.
    ASSERT_EQ(ListaCampos().size(), 1);
    EXPECT_TRUE(ListaCampos()[0].Nombre.isEmpty() && ListaCampos()[0].Valor.isEmpty());
}

TEST_F(Sentencias, UpdateSegunLaCondicion) {
    const struct {
        QList<CampoSQL> campos;
        const char* condicion;
        const char* sentencia;
        const char* condicionDespues;
    } casos[] = {
        {{{QStringLiteral("A"), QStringLiteral("'x'")}, {QStringLiteral("B"), QStringLiteral("5")}},
         "ID = 3", "UPDATE T SET A = 'x',B = 5  WHERE ID = 3", " WHERE ID = 3"},
        {{{QStringLiteral("A"), QStringLiteral("'x'")}}, "where ID = 3", "UPDATE T SET A = 'x' where ID = 3",
         "where ID = 3"},
        {{{QStringLiteral("A"), QStringLiteral("Null")}}, "", "UPDATE T SET A = Null  WHERE ", " WHERE "},
    };
    for (const auto& c : casos) {
        QList<CampoSQL> campos = c.campos;
        QStringList sentencias{QString()};
        QString condicion = QString::fromLatin1(c.condicion);
        ArmarSentencia(campos, sentencias, QStringLiteral("T"), true, condicion, true);
        ASSERT_EQ(sentencias.size(), 3);
        EXPECT_EQ(sentencias[1], QString::fromLatin1(c.sentencia));
        EXPECT_EQ(condicion, QString::fromLatin1(c.condicionDespues));
        EXPECT_EQ(campos.size(), c.campos.size());  // kept
    }
}

TEST_F(Sentencias, InsertDeUnSoloCampoSinComas) {
    QString v = QStringLiteral("1");
    AgregarCampo(QStringLiteral("A"), v, QStringLiteral("'"), true);
    QStringList sentencias{QStringLiteral("previa")};
    QString condicion;
    ArmarSentencia(ListaCampos(), sentencias, QStringLiteral("T"), false, condicion, false);
    EXPECT_EQ(sentencias, (QStringList{QStringLiteral("previa"), QStringLiteral("INSERT INTO T (A) VALUES ('1')"),
                                       QString()}));
}

TEST_F(Sentencias, UsosQueFallan) {
    QString v = QStringLiteral("x");
    EXPECT_EQ(NumeroDe([&] { AgregarCampo(QStringLiteral("A"), v, QStringLiteral("'"), false); }), 9);
    AgregarCampo(QStringLiteral("A"), v, QStringLiteral("'"), true);
    QStringList vacia;
    QString condicion;
    EXPECT_EQ(NumeroDe([&] { ArmarSentencia(ListaCampos(), vacia, QStringLiteral("T"), false, condicion, false); }),
              9);
}

TEST_F(Sentencias, AdaptarSqlSoloCambiaEnOracle) {
    const QString auditoria = QStringLiteral("Select TOP 1 * from Control_Acceso  with(nolock) ");
    EXPECT_EQ(AdaptarSQL(auditoria), auditoria);
    EXPECT_EQ(AdaptarSQL(QStringLiteral("LEN")), QStringLiteral("LEN"));

    common::Datos().SetProveedor(QStringLiteral("OraOLEDB.Oracle.1"));
    ASSERT_TRUE(common::Datos().Motor().contains(QStringLiteral("oracle"), Qt::CaseInsensitive));
    const struct {
        const char* texto;
        const char* resultado;
    } casos[] = {
        {"Select TOP 1 * from Control_Acceso  with(nolock) ",
         "Select  *  from Control_Acceso  with(nolock)  WHERE ROWNUM <=  1 "},
        {"LEN", "LENGTH"},
        {"len", "LENGTH"},
        {"Len", "LENGTH"},
        {"LENX", "LENX"},
        {"", ""},
        {"select a from t where b = 1", "select a from t where b = 1"},
        // The rewrite does not merge with a WHERE already there.
        {"select top 2 * from t where b = 1", "select  *  from t where b = 1 WHERE ROWNUM <=  2 "},
    };
    for (const auto& c : casos) {
        const QString texto = QString::fromLatin1(c.texto);
        EXPECT_EQ(AdaptarSQL(texto), QString::fromLatin1(c.resultado)) << c.texto;
    }
    // "top " with no "*" after it: the count cannot be cut out.
    EXPECT_EQ(NumeroDe([] { AdaptarSQL(QStringLiteral("select top 5 a from t")); }), 5);
}
