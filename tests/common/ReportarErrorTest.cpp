#include "common/ReportarError.h"
#include "BasePrueba.h"
#include "ErrorEsperado.h"

#include <QDir>
#include <QFile>

using namespace common;
using platform::runtime::ErrorSistema;

namespace {
class Reportar : public pruebas::BaseConectada {
protected:
    QString Log() const { return QString::fromUtf8(pruebas::LeerArchivo(EnTemporal(QStringLiteral("CVERR.LOG")))); }
};
}  // namespace

TEST_F(Reportar, MuestraElErrorYAnotaUnaLineaEnElLog) {
    prompts->Encolar(3);
    EXPECT_EQ(ReportarError(ErrorSistema{13, QStringLiteral("Type mismatch"), QStringLiteral("Proyecto1")}, 18,
                            QStringLiteral("Cfg")),
              3);
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    const auto& p = prompts->Preguntas()[0];
    EXPECT_EQ(p.texto, QStringLiteral("Ha ocurrido el Siguiente Error (13) Type mismatch"));
    EXPECT_EQ(p.estilo, 18);
    EXPECT_EQ(p.titulo, QStringLiteral("Proyecto1 - Cfg Aviso al operador!!! "));
    EXPECT_EQ(Log(), QStringLiteral("12-08-2026 21:05:09 Rutina: - Cfg Mensaje Ha ocurrido el Siguiente "
                                    "Error (13) Type mismatch Respondió : Abortar\r\n"));
}

TEST_F(Reportar, SinRutinaYConBlancosEnLaDescripcion) {
    prompts->Encolar(5);
    ReportarError(ErrorSistema{-2147217900, QStringLiteral("  Falta la tabla  "), QStringLiteral("ADO")});
    const auto& p = prompts->Preguntas().at(0);
    EXPECT_EQ(p.titulo, QStringLiteral("ADO Aviso al operador!!! "));
    EXPECT_EQ(p.texto, QStringLiteral("Ha ocurrido el Siguiente Error (-2147217900) Falta la tabla"));
    EXPECT_EQ(Log(), QStringLiteral("12-08-2026 21:05:09 Rutina:  Mensaje Ha ocurrido el Siguiente Error "
                                    "(-2147217900) Falta la tabla Respondió : Ignorar\r\n"));
}

TEST_F(Reportar, CadaRespuestaConSuTextoYElLogCrece) {
    const struct {
        int respuesta;
        const char* texto;
    } casos[] = {{1, ""}, {2, "Cancelar"}, {3, "Abortar"}, {4, "Reintentar"},
                 {5, "Ignorar"}, {6, "Sí"}, {7, "No"}, {0, ""}};
    for (const auto& c : casos) {
        prompts->Encolar(c.respuesta);
        EXPECT_EQ(ReportarError(ErrorSistema{5, QStringLiteral("x"), {}}, 0, QStringLiteral("R")), c.respuesta);
    }
    const QStringList lineas = Log().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lineas.size(), 9);  // eight lines and what follows the last line end
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(lineas[i].endsWith(QStringLiteral(" Respondió : ") + QString::fromUtf8(casos[i].texto)))
            << lineas[i].toStdString();
    EXPECT_TRUE(lineas[8].isEmpty());
}

TEST_F(Reportar, ErrorCeroNoPreguntaPeroCreaElLogVacio) {
    EXPECT_EQ(ReportarError(ErrorSistema{0, QStringLiteral("nada"), {}}, 18, QStringLiteral("Cfg")), 0);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    ASSERT_TRUE(QFile::exists(EnTemporal(QStringLiteral("CVERR.LOG"))));
    EXPECT_TRUE(Log().isEmpty());
}

TEST_F(Reportar, CarpetaDelLogSegunTempYTmp) {
    QTemporaryDir equipo;  // stands for CarpetaEquipo, the system temp folder
    pruebas::VariableEntorno tmpdir{"TMPDIR", equipo.path()};
    const QString propia = dir.path();
    const struct {
        QString temp, tmp, carpeta;
    } casos[] = {
        {QString(), propia, equipo.path()},                              // TEMP unset: TMP is not looked at
        {QStringLiteral(""), propia, equipo.path()},
        {QStringLiteral("C:/otra"), QStringLiteral(""), equipo.path()},  // TMP empty
        {QStringLiteral("C:/otra"), QStringLiteral("   "), equipo.path()},
        {QStringLiteral("C:/otra"), propia, propia},                     // TEMP tested, TMP taken
        {QStringLiteral("C:/otra"), QStringLiteral("  ") + propia + QStringLiteral("  "), propia},
    };
    for (const auto& c : casos) {
        pruebas::VariableEntorno temp2{"TEMP", c.temp};
        pruebas::VariableEntorno tmp2{"TMP", c.tmp};
        EXPECT_EQ(CarpetaTemporal(), c.carpeta + QLatin1Char('/')) << c.temp.toStdString() << "|" << c.tmp.toStdString();
    }
    pruebas::VariableEntorno sinTemp{"TEMP", QString()};
    prompts->Encolar(3);
    ReportarError(ErrorSistema{5, QStringLiteral("x"), {}});
    EXPECT_FALSE(pruebas::LeerArchivo(QDir(equipo.path()).filePath(QStringLiteral("CVERR.LOG"))).isEmpty());
    EXPECT_FALSE(QFile::exists(EnTemporal(QStringLiteral("CVERR.LOG"))));
}

TEST_F(Reportar, UnaCarpetaQueNoExistePasaElErrorSinPreguntar) {
    pruebas::VariableEntorno tmp2{"TMP", dir.filePath(QStringLiteral("no/existe"))};
    // The failure reaches the caller.
    EXPECT_THAT([] { ReportarError(ErrorSistema{5, QStringLiteral("x"), {}}); }, pruebas::LanzaError(75));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    // The number it took is free again.
    EXPECT_EQ(platform::runtime::Archivos::Libre(), 1);
}

TEST_F(Reportar, GrabaErrorEscribeLaFilaDeAuxErr) {
    const QString sql = QStringLiteral("INSERT INTO X VALUES ('it''s')");
    QString proceso;
    GrabaError(sql, proceso, -2147217900, QString(300, QLatin1Char('d')));
    EXPECT_EQ(proceso, QStringLiteral("recepcion-email"));
    QString otro = QStringLiteral("OTRO");
    GrabaError(QStringLiteral("select 1"), otro, 2627, QStringLiteral("duplicada"));
    EXPECT_EQ(otro, QStringLiteral("OTRO"));

    const auto filas = Filas(Datos(), QStringLiteral("SELECT * FROM AUX_ERR ORDER BY ID"));
    ASSERT_EQ(filas.size(), 2);
    const QVariantMap& f = filas[0];
    EXPECT_EQ(f[QStringLiteral("Proceso")].toString(), QStringLiteral("recepcion-email"));
    EXPECT_EQ(f[QStringLiteral("Fecha")].toString(), QStringLiteral("08/12/26 21:05"));
    EXPECT_EQ(f[QStringLiteral("Error")].toLongLong(), -2147217900LL);
    EXPECT_EQ(f[QStringLiteral("Descripcion")].toString(), QString(250, QLatin1Char('d')));
    EXPECT_EQ(f[QStringLiteral("SQL")].toString(), sql);
    EXPECT_EQ(f[QStringLiteral("PC")].toString(), Equipo().NombrePC());
    EXPECT_EQ(f[QStringLiteral("Usuario")].toString(), QStringLiteral("ANA"));
    EXPECT_EQ(filas[1][QStringLiteral("Proceso")].toString(), QStringLiteral("recepcion-email"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Reportar, GrabaErrorSinTablaNoGuardaNiAvisa) {
    Datos().EjecutarSQL(QStringLiteral("DROP TABLE AUX_ERR"));
    QString proceso;
    EXPECT_NO_THROW(GrabaError(QStringLiteral("select 1"), proceso, 5, QStringLiteral("x")));
    EXPECT_EQ(proceso, QStringLiteral("recepcion-email"));
    Datos().SetConectado(false);
    EXPECT_NO_THROW(GrabaError(QStringLiteral("select 1"), proceso, 5, QStringLiteral("x")));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Reportar, GrabaErrorConUnNumeroFueraDeRangoGuardaElRestoDeLaFila) {
    QString proceso;
    GrabaError(QStringLiteral("select 1"), proceso, 1L << 40, QStringLiteral("grande"));
    const auto filas = Filas(Datos(), QStringLiteral("SELECT * FROM AUX_ERR"));
    ASSERT_EQ(filas.size(), 1);
    EXPECT_TRUE(filas[0][QStringLiteral("Error")].isNull());
    EXPECT_EQ(filas[0][QStringLiteral("Descripcion")].toString(), QStringLiteral("grande"));
}

TEST(FormatosFecha, PatronesDeDiaMesAnio) {
    const QDateTime m(QDate(2026, 3, 4), QTime(7, 8, 9));
    const struct {
        QString patron, texto;
    } casos[] = {
        {FormatoFechaHora(), QStringLiteral("04/03/26 07:08")},
        {FormatoFecha(), QStringLiteral("04/03/26")},
        {FormatoHora(), QStringLiteral("07:08")},
        {QStringLiteral("dd/mm/yyyy hh:mm:ss"), QStringLiteral("04/03/2026 07:08:09")},
        {QStringLiteral("mm:ss"), QStringLiteral("08:09")},  // before seconds: minutes
    };
    for (const auto& c : casos) EXPECT_EQ(FormatearFecha(m, c.patron), c.texto) << c.patron.toStdString();
    EXPECT_EQ(FormatoFechaHora(), QStringLiteral("dd/mm/yy hh:mm"));
    EXPECT_EQ(FormatoFecha(), QStringLiteral("dd/mm/yy"));
    EXPECT_EQ(FormatoHora(), QStringLiteral("hh:mm"));
}
