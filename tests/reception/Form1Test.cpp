#include "reception/Form1.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "platform/runtime/Entorno.h"
#include "ApoyoVentana.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTimer>

using namespace reception;

namespace {
class Ventana : public ::testing::Test {
protected:
    QTemporaryDir dir;
    pruebas::VariableEntorno datos{"RECEPCION_DATOS", dir.filePath(QStringLiteral("datos"))};
    pruebas::PromptsGuionados prompts;

    void SetUp() override {
        common::ReiniciarContexto();
        common::TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
        platform::runtime::EstablecerCarpetaAplicacion(dir.filePath(QStringLiteral("programa")));
        QDir().mkpath(dir.filePath(QStringLiteral("programa")));
        platform::runtime::EstablecerLineaComandos(QStringLiteral("@DbName=GESTION;@Usuario=ANA;"));
        // A database with rows before the window opens.
        common::Datos().SetBaseDeDatos(QStringLiteral("GESTION"));
        common::Datos().Conectar(false, 3, QString(), true, true);
    }
    void TearDown() override {
        platform::runtime::EstablecerLineaComandos(QString());
        platform::runtime::EstablecerCarpetaAplicacion(QString());
        common::ReiniciarContexto();
    }
    void Sql(const QString& s) { common::Datos().EjecutarSQL(s); }
    QString Ajuste() {
        QString aux;
        return common::Cfg(QStringLiteral("EMAIL_CARPETAADJUNTOS"), aux);
    }
    QStringList Cuentas(Form1& f) {
        QStringList l;
        for (int i = 0; i < f.CmbCuentas()->count(); ++i) l << f.CmbCuentas()->itemText(i);
        return l;
    }
};
}  // namespace

TEST_F(Ventana, CargaConCuentasYCarpetasPorDefecto) {
    const QStringList filas{QStringLiteral("ventas@x.test"), QStringLiteral("  "), QString(),
                            QStringLiteral(" soporte@x.test "), QStringLiteral("ventas@x.test")};
    for (qsizetype i = 0; i < filas.size(); ++i)
        Sql(QStringLiteral("INSERT INTO V_MA_EMAILMOV (UIDL, CuentaEmail) VALUES ('u%1', '%2')").arg(i).arg(filas[i]));
    Form1 f;
    f.Cargar();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Recepcion de Email"));
    const QStringList cuentas = Cuentas(f);
    ASSERT_EQ(cuentas.size(), 3);
    EXPECT_EQ(cuentas[0], QStringLiteral("Todas"));
    EXPECT_TRUE(cuentas.contains(QStringLiteral(" soporte@x.test ")));  // listed as stored
    EXPECT_EQ(f.TextoCuentas(), QString());
    EXPECT_EQ(f.Estado(), QStringLiteral("..."));
    const QString adjuntos = dir.filePath(QStringLiteral("programa/EMAIL/ADJUNTOS/"));
    EXPECT_EQ(f.CarpetaAdjuntos(), adjuntos);
    EXPECT_EQ(Ajuste(), adjuntos);
    EXPECT_TRUE(QDir(adjuntos).exists());
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("programa/Mails"))).exists());
    EXPECT_TRUE(f.Timer2()->isActive());
    EXPECT_EQ(f.Timer2()->interval(), 65535);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    EXPECT_EQ(f.size(), QSize(295, 264));
}

TEST_F(Ventana, TablaVaciaSinTodas) {
    Form1 f;
    f.Cargar();
    EXPECT_EQ(f.CmbCuentas()->count(), 0);
}

TEST_F(Ventana, EmailYaExisteSePreguntaYSeSigue) {
    QDir().mkpath(dir.filePath(QStringLiteral("programa/EMAIL")));
    prompts->Encolar(5);  // Ignore: go on with the next step
    Form1 f;
    f.Cargar();
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_TRUE(prompts->Preguntas()[0].texto.contains(QStringLiteral("75")));
    EXPECT_EQ(f.CarpetaAdjuntos(), dir.filePath(QStringLiteral("programa/EMAIL/ADJUNTOS/")));
    EXPECT_TRUE(f.Timer2()->isActive());
}

TEST_F(Ventana, CarpetaConfiguradaQueFaltaSeCreaYSeGrabaOtraVez) {
    const QString carpeta = dir.filePath(QStringLiteral("adjuntos-nuevos"));
    common::GrabaDfg(QStringLiteral("EMAIL_CARPETAADJUNTOS"), carpeta, QString(), false, QStringLiteral("DATOS"), true);
    Form1 f;
    f.Cargar();
    EXPECT_TRUE(QDir(carpeta).exists());
    EXPECT_EQ(f.CarpetaAdjuntos(), carpeta);
    EXPECT_TRUE(f.Timer2()->isActive());
}

TEST_F(Ventana, CarpetaInalcanzableAvisaYNoArmaElTemporizador) {
    common::GrabaDfg(QStringLiteral("EMAIL_CARPETAADJUNTOS"), QStringLiteral("/unidad-que-no-existe/adjuntos"),
                     QString(), false, QStringLiteral("DATOS"), true);
    Form1 f;
    f.Cargar();
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_EQ(prompts->Preguntas()[0].texto, QStringLiteral(
        "La ruta configurada como carpeta de adjuntos no existe o es inaccesible. No podra recibir "
        "mail hasta que configure una ruta correcta"));
    EXPECT_EQ(prompts->Preguntas()[0].estilo, 64);
    EXPECT_EQ(prompts->Preguntas()[0].titulo, QStringLiteral("Aviso al operador"));
    EXPECT_FALSE(f.Timer2()->isActive());
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("programa/Mails"))).exists());
}

TEST_F(Ventana, CancelarSoloMarcaLaBandera) {
    Form1 f;
    f.Cargar();
    EXPECT_EQ(f.CancelarRecepcion(), 0);
    for (QPushButton* b : f.findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Cancelar")) b->click();
    EXPECT_EQ(f.CancelarRecepcion(), -1);
    EXPECT_EQ(f.Estado(), QStringLiteral("..."));
}

TEST_F(Ventana, RecibirNoSeOfreceMientrasSeImporta) {
    Form1 f;
    f.Cargar();
    bool habilitadoDurante = true;
    // The empty account's prompt opens while the import runs.
    prompts->OkTrasAccion([&] { habilitadoDurante = f.CmdRecibir()->isEnabled(); });
    f.CmdRecibir()->click();
    EXPECT_FALSE(habilitadoDurante);
    EXPECT_TRUE(f.CmdRecibir()->isEnabled());
    EXPECT_EQ(f.Estado(), QStringLiteral("Finalizado"));
}
