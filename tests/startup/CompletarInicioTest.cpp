#include "startup/CompletarInicio.h"
#include "startup/IniciarSistema.h"
#include "BasePrueba.h"

#include <QFile>

using namespace startup;

namespace {

class Completar : public pruebas::BasePrueba {
protected:
    QString Catalogo() const { return Aplicacion() + QStringLiteral("/consultas.crv"); }

    // The reception window's call; -1 unless the program was ended.
    int Iniciar() {
        QString texto;
        try {
            IniciarSistema(false, QString(), texto, 3);
        } catch (const pruebas::ProgramaFinalizado& f) {
            return f.codigo;
        }
        return -1;
    }
    QList<QVariantMap> Accesos() {
        return Filas(common::Datos(), QStringLiteral("SELECT * FROM Control_Acceso ORDER BY ID"));
    }
};

}  // namespace

TEST_F(Completar, PrimerInicioHaceLasCuatroLlamadas) {
    ASSERT_EQ(Iniciar(), -1);
    auto& datos = common::Datos();
    auto& ctx = common::Contexto();
    ASSERT_TRUE(datos.Conectado());

    // Statistics link and the connection's settings.
    EXPECT_TRUE(common::DatosEstadisticas().Conectado());
    EXPECT_EQ(ctx.TiempoEsperaComandos, 360);
    EXPECT_EQ(datos.Conexion().CommandTimeout(), 360);
    EXPECT_EQ(datos.Conexion().IsolationLevel(), 256);
    EXPECT_EQ(datos.Conexion().DefaultDatabase(), QStringLiteral("GESTION"));
    // Components and the catalogue.
    EXPECT_EQ(ctx.CadenaOdbc, QStringLiteral("DSN=GESTION; UID=") + datos.Usuario() + QStringLiteral("; PWD="));
    EXPECT_EQ(common::Complemento().CarpetaAplicacion(), Aplicacion() + QLatin1Char('/'));
    EXPECT_EQ(common::Consultas().Motor(), datos.Motor());
    EXPECT_TRUE(common::Consultas().Activo());
    EXPECT_EQ(common::Consultas().RutaCatalogo(), Catalogo());
    EXPECT_EQ(QFile(Catalogo()).size(), 13222);
    // Global settings.
    EXPECT_TRUE(common::Ajustes().IndicadorCarga);
    EXPECT_EQ(common::Ajustes().ArchivoDocTareas, Aplicacion() + QStringLiteral("/CVDOCTareas.crv"));
    // Access audit.
    const auto filas = Accesos();
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0].value(QStringLiteral("Formulario")).toString(), QStringLiteral("RECEPCION-EMAIL"));
    EXPECT_EQ(filas[0].value(QStringLiteral("Usuario")).toString(), datos.Usuario().trimmed().toUpper());
    EXPECT_EQ(ctx.IdControlAcceso, filas[0].value(QStringLiteral("ID")).toInt());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Completar, ComoMenuPrincipal) {
    platform::runtime::EstablecerNombreEjecutable(QStringLiteral("CN000PR"));
    ASSERT_EQ(Iniciar(), -1);
    const auto filas = Accesos();
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0].value(QStringLiteral("Formulario")).toString(), QStringLiteral("CN000PR"));
    EXPECT_EQ(filas[0].value(QStringLiteral("Tarea")).toString(), QStringLiteral("MENU PRINCIPAL"));
    EXPECT_EQ(filas[0].value(QStringLiteral("Ingreso")).toString(), QStringLiteral("08/12/26 21:05"));
}

TEST_F(Completar, CatalogoExistenteNoSeToca) {
    pruebas::EscribirArchivo(Catalogo(), "propio");
    ASSERT_EQ(Iniciar(), -1);
    EXPECT_EQ(pruebas::LeerArchivo(Catalogo()), QByteArray("propio"));
    EXPECT_EQ(Accesos().size(), 1);
}

TEST_F(Completar, YaConectadoSinEnlaceNiAjustesDeConexion) {
    ASSERT_EQ(Iniciar(), -1);
    common::Contexto().TiempoEsperaComandos = 77;
    common::Datos().Conexion().SetCommandTimeout(5);
    common::Ajustes() = common::AjustesGlobales{};
    ASSERT_EQ(Iniciar(), -1);
    EXPECT_EQ(common::Contexto().TiempoEsperaComandos, 77);
    EXPECT_EQ(common::Datos().Conexion().CommandTimeout(), 5);
    EXPECT_TRUE(common::Ajustes().IndicadorCarga);  // settings loaded again
    EXPECT_EQ(Accesos().size(), 2);
}

TEST_F(Completar, SinNombreDeBaseSoloElAcceso) {
    ConectarNegocio();
    common::Datos().SetBaseDeDatos(QString());
    CompletarInicio(false, Aplicacion() + QLatin1Char('/'));
    EXPECT_FALSE(QFile::exists(Catalogo()));
    EXPECT_TRUE(common::Contexto().CadenaOdbc.isEmpty());
    EXPECT_FALSE(common::Ajustes().IndicadorCarga);
    EXPECT_EQ(Accesos().size(), 1);
}

// A failure other than 5 ends start-up silently: nothing after it runs.
TEST_F(Completar, CatalogoQueNoSePuedeEscribirTerminaElInicio) {
    platform::runtime::EstablecerCarpetaAplicacion(dir.filePath(QStringLiteral("no-existe")));
    ASSERT_EQ(Iniciar(), -1);
    EXPECT_TRUE(common::Datos().Conectado());
    EXPECT_TRUE(common::DatosEstadisticas().Conectado());
    EXPECT_FALSE(common::Ajustes().IndicadorCarga);
    EXPECT_TRUE(Accesos().isEmpty());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}
