#include "startup/RegistrarAcceso.h"
#include "BasePrueba.h"

using namespace startup;

namespace {

class Acceso : public pruebas::BasePrueba {
protected:
    pruebas::ConexionPrueba* servidor = nullptr;

    void SetUp() override {
        BasePrueba::SetUp();
        servidor = ConectarNegocio();
    }
    void Ejecutar(const QString& sql) {
        common::Datos().EjecutarSQL(sql);
        ASSERT_EQ(common::Datos().Conexion().Errors().Count(), 0) << sql.toStdString();
    }
    QList<QVariantMap> Registros() {
        return Filas(common::Datos(), QStringLiteral("SELECT * FROM Control_Acceso ORDER BY ID"));
    }
    QStringList ConsultasDeTarea() const {
        return servidor->consultas.filter(QStringLiteral("TA_TAREAS"));
    }
};

}  // namespace

TEST_F(Acceso, TareaSinPermisosSegunElPrograma) {
    const struct {
        const char* ejecutable;
        const char* usuario;
        const char* tarea;
    } casos[] = {
        {"CN000PR", "ANA", "MENU PRINCIPAL"},
        {"cn000pr", "GESTION", "MENU PRINCIPAL"},
        {"recepcion-email", "gestion", "RECEPCION-EMAIL"},             // user named as the database
        {"recepcion-email", "Supervisor Corvana MC", "RECEPCION-EMAIL"},
        {"recepcion-email", "ANA", ""},
    };
    for (const auto& c : casos) {
        platform::runtime::EstablecerNombreEjecutable(QString::fromLatin1(c.ejecutable));
        common::Datos().SetUsuario(QString::fromLatin1(c.usuario));
        RegistrarAcceso(QString());
        const QVariantMap fila = Registros().last();
        EXPECT_EQ(fila.value(QStringLiteral("Tarea")).toString(), QString::fromLatin1(c.tarea)) << c.ejecutable;
        EXPECT_EQ(fila.value(QStringLiteral("Formulario")).toString(), QString::fromLatin1(c.ejecutable).toUpper());
    }
    EXPECT_EQ(Registros().size(), 5);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Acceso, ElRegistroYSusSeisColumnas) {
    common::Datos().SetUsuario(QStringLiteral("  Ana María "));
    Ejecutar(QStringLiteral("INSERT INTO Control_Acceso (Maquina) VALUES ('OTRA')"));  // an older row
    RegistrarAcceso(QString());

    const auto filas = Registros();
    ASSERT_EQ(filas.size(), 2);
    const QVariantMap& f = filas[1];
    EXPECT_EQ(f.value(QStringLiteral("Maquina")).toString(), common::Equipo().NombrePC().trimmed().toUpper());
    EXPECT_EQ(f.value(QStringLiteral("Usuario")).toString(), QStringLiteral("ANA MARÍA"));
    EXPECT_EQ(f.value(QStringLiteral("Formulario")).toString(), QStringLiteral("RECEPCION-EMAIL"));
    EXPECT_EQ(f.value(QStringLiteral("Tarea")).toString(), QString());
    EXPECT_EQ(f.value(QStringLiteral("Ingreso")).toString(), QStringLiteral("08/12/26 21:05"));
    EXPECT_EQ(f.value(QStringLiteral("NombreUsuario")).toString(), QStringLiteral("  Ana María "));
    // The identifier of the row just written, not of the first one.
    EXPECT_EQ(common::Contexto().IdControlAcceso, f.value(QStringLiteral("ID")).toInt());
    EXPECT_EQ(common::Contexto().UsuarioLogeado, QStringLiteral("  Ana María "));
}

TEST_F(Acceso, LaTareaEsElNombreDeLaPrimeraFila) {
    // The server's answer: every entry whose process contains the name.
    servidor->sustituto = [](const QString& sql) -> std::unique_ptr<platform::db::Cursor> {
        if (!sql.contains(QStringLiteral("TA_TAREAS"))) return nullptr;
        const QStringList columnas{QStringLiteral("USUARIO"), QStringLiteral("Proceso"), QStringLiteral("Clave"),
                                   QStringLiteral("Nombre")};
        return std::make_unique<pruebas::CursorFijo>(
            columnas, QList<QList<platform::db::Valor>>{
                          {QStringLiteral("ANA"), QStringLiteral("VENTASX"), QStringLiteral("M1"),
                           QStringLiteral(" Ventas y facturas ")},
                          {QStringLiteral("ANA"), QStringLiteral("VENTAS"), QStringLiteral("M2"), QStringLiteral("Otra")}});
    };
    RegistrarAcceso(QStringLiteral("Facturacion"));  // an alternative name of the sales process

    ASSERT_EQ(ConsultasDeTarea().size(), 1);
    EXPECT_EQ(ConsultasDeTarea()[0],
              QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre  FROM TA_TAREAS  "
                             "with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave  WHERE "
                             "(TA_TAREAS.USUARIO = 'ANA ') AND (TA_MENU.Proceso LIKE '%VENTAS%')"));
    const QVariantMap f = Registros().last();
    EXPECT_EQ(f.value(QStringLiteral("Formulario")).toString(), QStringLiteral("VENTAS"));
    EXPECT_EQ(f.value(QStringLiteral("Tarea")).toString(), QStringLiteral("VENTAS Y FACTURAS"));
}

TEST_F(Acceso, SustitucionesYExclusiones) {
    const struct {
        const char* proceso;
        const char* formulario;
        const char* buscado;  // nullptr: no lookup
    } casos[] = {
        {"puntodeventa", "VENTAS", "VENTAS"},
        {"Tesoreria", "CAJA", "CAJA"},  // also excluded: the mapping wins
        {"actualizador", "ACTUALIZADOR", nullptr},
        {"Inventarios", "INVENTARIOS", "Inventarios"},  // not a name of the table
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.proceso);
        servidor->consultas.clear();
        RegistrarAcceso(QString::fromLatin1(c.proceso));
        EXPECT_EQ(Registros().last().value(QStringLiteral("Formulario")).toString(), QString::fromLatin1(c.formulario));
        ASSERT_EQ(ConsultasDeTarea().size(), c.buscado ? 1 : 0);
        if (c.buscado) {
            EXPECT_TRUE(ConsultasDeTarea()[0].endsWith(QStringLiteral("LIKE '%") + QString::fromLatin1(c.buscado) +
                                                       QStringLiteral("%')")));
        }
    }
}

TEST_F(Acceso, UsuarioConApostrofo) {
    common::Datos().SetUsuario(QStringLiteral("O'Brien"));
    RegistrarAcceso(QString());
    ASSERT_EQ(ConsultasDeTarea().size(), 1);
    EXPECT_TRUE(ConsultasDeTarea()[0].contains(QStringLiteral("USUARIO = 'O''Brien ')")));
    const QVariantMap f = Registros().last();
    EXPECT_EQ(f.value(QStringLiteral("Usuario")).toString(), QStringLiteral("OBRIEN"));
    EXPECT_EQ(f.value(QStringLiteral("NombreUsuario")).toString(), QStringLiteral("OBrien"));
    EXPECT_EQ(common::Contexto().UsuarioLogeado, QStringLiteral("OBrien"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Acceso, InsercionRechazadaNoCambiaElIdentificador) {
    common::Contexto().IdControlAcceso = 41;
    Ejecutar(QStringLiteral("DROP TABLE Control_Acceso"));
    Ejecutar(QStringLiteral("CREATE TABLE Control_Acceso (ID INTEGER PRIMARY KEY, Maquina TEXT, Usuario TEXT, "
                            "Formulario TEXT, Tarea TEXT, Ingreso TEXT, NombreUsuario TEXT CHECK (NombreUsuario <> 'ANA'))"));
    RegistrarAcceso(QString());
    EXPECT_TRUE(Registros().isEmpty());
    EXPECT_EQ(common::Contexto().IdControlAcceso, 41);
    // The database's refusal is shown and recorded by the script runner.
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_TRUE(prompts->Preguntas()[0].texto.startsWith(QStringLiteral("547 : ")));
    EXPECT_EQ(Filas(common::Datos(), QStringLiteral("SELECT * FROM AUX_ERR")).size(), 1);
}

TEST_F(Acceso, TareaDelMenuEnLaBaseIntegrada) {
    Ejecutar(QStringLiteral("INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('M1', 'Recepcion-EmailX', 'Recepción de correo')"));
    Ejecutar(QStringLiteral("INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('M2', 'RECEPCION-EMAIL', 'De otro usuario')"));
    Ejecutar(QStringLiteral("INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('ana', 'M1')"));
    Ejecutar(QStringLiteral("INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('LUIS', 'M2')"));
    RegistrarAcceso(QString());
    // The process name is a LIKE pattern: an entry that merely contains it counts.
    EXPECT_EQ(Registros().last().value(QStringLiteral("Tarea")).toString(), QStringLiteral("RECEPCIÓN DE CORREO"));
}
