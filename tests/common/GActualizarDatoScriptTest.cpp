#include "common/GActualizarDatoScript.h"
#include "BasePrueba.h"

using namespace common;

namespace {

const QString Insertar1 = QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('1', 'Uno')");
const QString Insertar2 = QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('2', 'Dos')");

class Script : public pruebas::BaseConectada {
protected:
    // Outputs start with marks, to tell "left alone" from "set".
    bool fallido = true;
    std::int32_t numero = -1;
    QString enviado = QStringLiteral("<sin tocar>");
    QString texto = QStringLiteral("<sin tocar>");

    void Ejecutar(const QStringList& sentencias, bool silencioDuplicado = false, bool silencioRestriccion = false,
                  bool mostrar = true) {
        GActualizarDatoScript(sentencias, fallido, numero, silencioDuplicado, silencioRestriccion, enviado, texto,
                              mostrar);
    }
    QString Cuentas() {
        QStringList codigos;
        for (const auto& f : Filas(Datos(), QStringLiteral("SELECT Codigo FROM MA_CUENTAS ORDER BY Codigo")))
            codigos << f.value(QStringLiteral("Codigo")).toString();
        return codigos.join(QLatin1Char(','));
    }
    QList<QVariantMap> Errores() { return Filas(Datos(), QStringLiteral("SELECT * FROM AUX_ERR")); }
};

}  // namespace

TEST_F(Script, FormatoDelScriptYCommit) {
    const QString s2 = QStringLiteral("  ") + Insertar2;  // leading blanks are sent
    Ejecutar({Insertar1, QStringLiteral("   "), s2});

    const QString esperado = QString::fromUtf8(pruebas::Esperado(QStringLiteral("script_transaccion.sql")));
    EXPECT_EQ(enviado.toUtf8(), esperado.toUtf8());
    EXPECT_FALSE(enviado.contains(QLatin1Char('\n')));
    EXPECT_EQ(negocio->sentencias, (QStringList{esperado, QStringLiteral("COMMIT TRANSACTION")}));
    EXPECT_FALSE(fallido);
    EXPECT_EQ(numero, 0);
    EXPECT_EQ(texto, QStringLiteral("<sin tocar>"));
    EXPECT_EQ(Cuentas(), QStringLiteral("1,2"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    EXPECT_TRUE(Errores().isEmpty());
}

TEST_F(Script, SoloBlancosNoEnviaNada) {
    Ejecutar({QString(), QStringLiteral("  "), QStringLiteral("\t")});
    EXPECT_FALSE(fallido);
    EXPECT_EQ(numero, -1);
    EXPECT_EQ(enviado, QStringLiteral("<sin tocar>"));
    EXPECT_TRUE(negocio->sentencias.isEmpty());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Script, UnFalloDeshaceTodoGrabaErrorYAvisa) {
    // The second insert repeats the first one's key: the first must not stay.
    Ejecutar({Insertar1, Insertar2, Insertar1});

    EXPECT_TRUE(fallido);
    EXPECT_EQ(numero, 2627);
    EXPECT_EQ(Cuentas(), QString());
    // The script, its rollback, then the AUX_ERR row.
    ASSERT_GE(negocio->sentencias.size(), 2);
    EXPECT_EQ(negocio->sentencias[1], QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_FALSE(negocio->sentencias.contains(QStringLiteral("COMMIT TRANSACTION")));
    EXPECT_TRUE(texto.startsWith(QStringLiteral("2627 : ")));
    EXPECT_TRUE(texto.endsWith(QStringLiteral("\r\n")));
    EXPECT_EQ(texto.count(QStringLiteral("\r\n")), 1);

    const auto filas = Errores();
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0].value(QStringLiteral("Proceso")).toString(), QStringLiteral("recepcion-email"));
    EXPECT_EQ(filas[0].value(QStringLiteral("Error")).toInt(), 2627);
    EXPECT_EQ(filas[0].value(QStringLiteral("SQL")).toString(), enviado);
    EXPECT_EQ(filas[0].value(QStringLiteral("Descripcion")).toString(), texto);
    EXPECT_EQ(filas[0].value(QStringLiteral("Fecha")).toString(), QStringLiteral("08/12/26 21:05"));

    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_EQ(prompts->Preguntas()[0].texto, texto);
    EXPECT_EQ(prompts->Preguntas()[0].estilo, 16);
    EXPECT_EQ(prompts->Preguntas()[0].titulo, QStringLiteral("Aviso al Operador!"));

    // The connection is left outside any transaction.
    Ejecutar({Insertar2});
    EXPECT_FALSE(fallido);
    EXPECT_EQ(Cuentas(), QStringLiteral("2"));
}

TEST_F(Script, LaUltimaDeVariasNuncaSeLista) {
    const struct {
        int errores;
        int lineas;
    } casos[] = {{1, 1}, {2, 1}, {3, 2}};
    for (const auto& c : casos) {
        QStringList sentencias;
        for (int i = 0; i < c.errores; ++i)
            sentencias << QStringLiteral("INSERT INTO NO_EXISTE%1 (A) VALUES (1)").arg(i);
        texto.clear();
        Ejecutar(sentencias, false, false, /*mostrar=*/false);
        EXPECT_TRUE(fallido);
        EXPECT_EQ(numero, 208);
        EXPECT_EQ(texto.count(QStringLiteral("\r\n")), c.lineas) << c.errores;
        EXPECT_TRUE(texto.contains(QStringLiteral("NO_EXISTE0")));
        if (c.errores == 3) {
            EXPECT_TRUE(texto.contains(QStringLiteral("NO_EXISTE1")));
            EXPECT_FALSE(texto.contains(QStringLiteral("NO_EXISTE2")));
        }
    }
    // Logged each time, never shown.
    EXPECT_EQ(Errores().size(), 3);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Script, CasosSilenciosos) {
    Datos().EjecutarSQL(QStringLiteral("CREATE TABLE POSITIVOS (x INTEGER CHECK (x > 0))"));
    ASSERT_EQ(Datos().Conexion().Errors().Count(), 0);
    const QString duplicado = QStringLiteral("INSERT INTO MA_CUENTAS (Codigo) VALUES ('9')");
    const QString restriccion = QStringLiteral("INSERT INTO POSITIVOS (x) VALUES (-1)");
    const struct {
        QString sentencia;
        bool silencioDuplicado, silencioRestriccion;
        long numero;
        bool silencioso;
    } casos[] = {
        {duplicado, true, false, 2627, true},
        {restriccion, false, true, 547, true},
        {duplicado, false, true, 2627, false},
        {restriccion, true, false, 547, false},
    };
    Datos().EjecutarSQL(duplicado);
    for (const auto& c : casos) {
        prompts->Limpiar();
        Ejecutar({c.sentencia}, c.silencioDuplicado, c.silencioRestriccion);
        EXPECT_TRUE(fallido);
        EXPECT_EQ(numero, c.numero);
        const QString descripcion = Errores().last().value(QStringLiteral("Descripcion")).toString();
        if (c.silencioso) {
            EXPECT_TRUE(prompts->Preguntas().isEmpty());
            EXPECT_FALSE(texto.isEmpty());
            EXPECT_FALSE(texto.contains(QStringLiteral(" : ")));  // the description alone
            EXPECT_TRUE(descripcion.isEmpty());                   // the row is still written
        } else {
            EXPECT_EQ(prompts->Preguntas().size(), 1);
            EXPECT_TRUE(texto.startsWith(QString::number(c.numero) + QStringLiteral(" : ")));
            EXPECT_EQ(descripcion, texto);
        }
    }
    EXPECT_EQ(Errores().size(), 4);
}

// A commit the database refuses is put to the operator, and the transaction
// is not left open behind the answer.
TEST_F(Script, CommitRechazadoSeDeshace) {
    Datos().EjecutarSQL(QStringLiteral("PRAGMA foreign_keys = ON"));
    Datos().EjecutarSQL(QStringLiteral("CREATE TABLE PADRE (id INTEGER PRIMARY KEY)"));
    Datos().EjecutarSQL(QStringLiteral(
        "CREATE TABLE HIJO (p INTEGER REFERENCES PADRE(id) DEFERRABLE INITIALLY DEFERRED)"));
    ASSERT_EQ(Datos().Conexion().Errors().Count(), 0);
    prompts->Encolar(3);  // Abort

    Ejecutar({QStringLiteral("INSERT INTO HIJO (p) VALUES (99)")});

    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_TRUE(prompts->Preguntas()[0].titulo.contains(QStringLiteral("GActualizarDatoScript")));
    EXPECT_TRUE(fallido);
    EXPECT_EQ(numero, 547);
    EXPECT_TRUE(negocio->sentencias.contains(QStringLiteral("ROLLBACK TRANSACTION")));
    EXPECT_TRUE(Filas(Datos(), QStringLiteral("SELECT * FROM HIJO")).isEmpty());
    Ejecutar({Insertar1});
    EXPECT_FALSE(fallido);
    EXPECT_EQ(Cuentas(), QStringLiteral("1"));
}
