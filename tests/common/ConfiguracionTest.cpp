#include "common/Configuracion.h"
#include "BasePrueba.h"

using namespace common;

namespace {
class Configuracion : public pruebas::BaseConectada {
protected:
    QVariantMap Unica(components::AccesoDatos& datos, const QString& clave) {
        const auto filas = Filas(datos, QStringLiteral("SELECT * FROM TA_CONFIGURACION WHERE Clave = '%1'").arg(clave));
        EXPECT_EQ(filas.size(), 1) << clave.toStdString();
        return filas.value(0);
    }
};
}  // namespace

TEST_F(Configuracion, LeeValorYAuxiliar) {
    Fila(Datos(), QStringLiteral("EMAIL_CARPETAADJUNTOS"), QStringLiteral(" /srv/adjuntos "), QStringLiteral("extra"));
    QString aux = QStringLiteral("antes");
    EXPECT_EQ(Cfg(QStringLiteral("  EMAIL_CARPETAADJUNTOS "), aux), QStringLiteral(" /srv/adjuntos "));
    EXPECT_EQ(aux, QStringLiteral("extra"));
    EXPECT_EQ(TablaConfiguracion(), QStringLiteral("TA_CONFIGURACION"));
    EXPECT_EQ(negocio->sentencias.last(),
              QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = "
                             "'EMAIL_CARPETAADJUNTOS'"));
}

TEST_F(Configuracion, ClaveQueNoEstaDaUnBlanco) {
    QString aux = QStringLiteral("antes");
    EXPECT_EQ(Cfg(QStringLiteral("NO_ESTA"), aux), QStringLiteral(" "));
    EXPECT_EQ(aux, QString());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Configuracion, ValorNuloDaTextoVacio) {
    Datos().EjecutarSQL(QStringLiteral("INSERT INTO TA_CONFIGURACION (Clave) VALUES ('VACIA')"));
    QString aux = QStringLiteral("antes");
    EXPECT_EQ(Cfg(QStringLiteral("VACIA"), aux), QString());
    EXPECT_EQ(aux, QString());
}

TEST_F(Configuracion, ThemeVacioOFaltanteDaUno) {
    QString aux;
    EXPECT_EQ(Cfg(QStringLiteral("THEME"), aux), QStringLiteral("1"));
    EXPECT_EQ(Cfg(QStringLiteral("theme"), aux), QStringLiteral("1"));
    Fila(Datos(), QStringLiteral("THEME"), QStringLiteral("  "));
    EXPECT_EQ(Cfg(QStringLiteral("Theme"), aux), QStringLiteral("1"));
    EXPECT_EQ(Cfg(QStringLiteral(" THEME"), aux), QStringLiteral("  "));  // only the key as given counts
    Datos().EjecutarSQL(QStringLiteral("UPDATE TA_CONFIGURACION SET Valor = '3' WHERE Clave = 'THEME'"));
    EXPECT_EQ(Cfg(QStringLiteral("THEME"), aux), QStringLiteral("3"));
}

TEST_F(Configuracion, ClavesDeFechaVanEnMayusculas) {
    TablaConfiguracion() = QStringLiteral("ta_configuracion");
    Fila(Datos(), QStringLiteral("[FECHA DESDE]"), QStringLiteral("01/01/2026"));
    QString aux;
    EXPECT_EQ(Cfg(QStringLiteral("[fecha desde]"), aux), QStringLiteral("01/01/2026"));
    EXPECT_EQ(negocio->sentencias.last(),
              QStringLiteral("SELECT VALOR, VALORAUX FROM TA_CONFIGURACION WITH(NOLOCK)  WHERE CLAVE = "
                             "'[FECHA DESDE]'"));
    Cfg(QStringLiteral("[Fecha Hasta]"), aux);
    EXPECT_EQ(negocio->sentencias.last(),
              QStringLiteral("SELECT VALOR, VALORAUX FROM TA_CONFIGURACION WITH(NOLOCK)  WHERE CLAVE = "
                             "'[FECHA HASTA]'"));
}

TEST_F(Configuracion, SinConexionDevuelveVacioSinTocarLaBase) {
    Datos().SetConectado(false);
    negocio->sentencias.clear();
    QString aux = QStringLiteral("antes");
    EXPECT_EQ(Cfg(QStringLiteral("THEME"), aux), QString());
    EXPECT_EQ(aux, QStringLiteral("antes"));
    EXPECT_TRUE(negocio->sentencias.isEmpty());
    EXPECT_TRUE(TablaConfiguracion().isEmpty());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Configuracion, ReintentarActuaComoAbortar) {
    TablaConfiguracion() = QStringLiteral("NO_EXISTE");
    prompts->Encolar(4);
    QString aux = QStringLiteral("antes");
    EXPECT_EQ(Cfg(QStringLiteral("THEME"), aux), QString());
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_TRUE(prompts->Preguntas()[0].titulo.endsWith(QStringLiteral(" - Cfg Aviso al operador!!! ")));
    EXPECT_TRUE(prompts->Preguntas()[0].texto.startsWith(QStringLiteral("Ha ocurrido el Siguiente Error (-2147217900) ")));
    EXPECT_EQ(aux, QStringLiteral("antes"));
    EXPECT_EQ(negocio->sentencias.size(), 1);  // not tried again
}

TEST_F(Configuracion, CfgCVLeeLaBaseDeEstadisticas) {
    Fila(DatosEstadisticas(), QStringLiteral("TIMEOUT"), QStringLiteral("90"));
    QString aux;
    EXPECT_EQ(CfgCV(QStringLiteral("TimeOut"), aux), QStringLiteral("90"));
    EXPECT_EQ(Cfg(QStringLiteral("TimeOut"), aux), QStringLiteral(" "));
    // Its dialog names its own routine.
    TablaConfiguracion() = QStringLiteral("NO_EXISTE");
    prompts->Encolar(3);
    EXPECT_EQ(CfgCV(QStringLiteral("TimeOut"), aux), QString());
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_TRUE(prompts->Preguntas()[0].titulo.endsWith(QStringLiteral(" - CfgCV Aviso al operador!!! ")));
}

TEST_F(Configuracion, ClaveConApostrofoNoCambiaLaSentencia) {
    Fila(Datos(), QStringLiteral("OTRA"), QStringLiteral("9"));
    QString aux;
    EXPECT_EQ(Cfg(QStringLiteral("X' OR '1'='1"), aux), QStringLiteral(" "));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Configuracion, ClaveNuevaEnMayusculasSinRecortar) {
    TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
    GrabaDfg(QStringLiteral("email_nueva"), QStringLiteral("  valor  "), QString(), true, QStringLiteral("DATOS"), false);
    const QVariantMap f = Unica(Datos(), QStringLiteral("EMAIL_NUEVA"));
    EXPECT_EQ(f[QStringLiteral("Clave")].toString(), QStringLiteral("EMAIL_NUEVA"));
    EXPECT_EQ(f[QStringLiteral("Valor")].toString(), QStringLiteral("  valor  "));
    EXPECT_EQ(f[QStringLiteral("Grupo")].toString(), QStringLiteral("DATOS"));
    EXPECT_NE(f[QStringLiteral("PoliticaNegocio")].toInt(), 0);
    EXPECT_TRUE(f[QStringLiteral("ValorAux")].isNull());
    QString aux;
    EXPECT_EQ(Cfg(QStringLiteral("EMAIL_NUEVA"), aux), QStringLiteral("  valor  "));
}

TEST_F(Configuracion, ClaveExistenteConservaElAuxiliarGuardado) {
    Fila(Datos(), QStringLiteral("ACTUALIZA_OUTLOOK"), QStringLiteral("Ultimo Mes"), QStringLiteral("guardado"));
    TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
    GrabaDfg(QStringLiteral("ACTUALIZA_OUTLOOK"), QStringLiteral(" Ultima Semana "), QString(), false,
             QStringLiteral("OTRO"), true);
    QVariantMap f = Unica(Datos(), QStringLiteral("ACTUALIZA_OUTLOOK"));
    EXPECT_EQ(f[QStringLiteral("Valor")].toString(), QStringLiteral("Ultima Semana"));
    EXPECT_EQ(f[QStringLiteral("Grupo")].toString(), QStringLiteral("OTRO"));
    EXPECT_EQ(f[QStringLiteral("PoliticaNegocio")].toInt(), 0);
    EXPECT_EQ(f[QStringLiteral("ValorAux")].toString(), QStringLiteral("guardado"));

    GrabaDfg(QStringLiteral("ACTUALIZA_OUTLOOK"), 7, QStringLiteral("  nuevo "), true, QStringLiteral("DATOS"), true);
    f = Unica(Datos(), QStringLiteral("ACTUALIZA_OUTLOOK"));
    EXPECT_EQ(f[QStringLiteral("Valor")].toString(), QStringLiteral("7"));
    EXPECT_EQ(f[QStringLiteral("ValorAux")].toString(), QStringLiteral("nuevo"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Configuracion, EscribirSinTablaNoHaceNadaEnSilencio) {
    ASSERT_TRUE(TablaConfiguracion().isEmpty());
    EXPECT_NO_THROW(GrabaDfg(QStringLiteral("EMAIL_CARPETAADJUNTOS"), QStringLiteral("/x"), QString(), false,
                             QStringLiteral("DATOS"), true));
    EXPECT_EQ(negocio->sentencias.last(),
              QStringLiteral("SELECT * FROM  with(nolock)  WHERE CLAVE = 'EMAIL_CARPETAADJUNTOS'"));
    EXPECT_TRUE(Filas(Datos(), QStringLiteral("SELECT * FROM TA_CONFIGURACION")).isEmpty());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Configuracion, GrabaCfgCVEscribeEnEstadisticas) {
    TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
    GrabaCfgCV(QStringLiteral("TimeOut"), QVariant::fromValue<std::int16_t>(120), QString(), false,
               QStringLiteral("BaseDeDatos"), true);
    const QVariantMap f = Unica(DatosEstadisticas(), QStringLiteral("TIMEOUT"));
    EXPECT_EQ(f[QStringLiteral("Valor")].toString(), QStringLiteral("120"));
    EXPECT_EQ(f[QStringLiteral("Grupo")].toString(), QStringLiteral("BaseDeDatos"));
    EXPECT_TRUE(Filas(Datos(), QStringLiteral("SELECT * FROM TA_CONFIGURACION")).isEmpty());
}
