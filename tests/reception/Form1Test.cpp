#include "reception/Form1.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "platform/runtime/Entorno.h"
#include "ApoyoVentana.h"
#include "BuzonPrueba.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
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

TEST_F(Ventana, CarpetasYaCreadasNoSonUnFalloYLosAdjuntosVanAEllas) {
    // EMAIL/ alone (a lost setting), then EMAIL/ADJUNTOS/ too (a second database).
    for (const char* ya : {"programa/EMAIL", "programa/EMAIL/ADJUNTOS"}) {
        QDir().mkpath(dir.filePath(QString::fromLatin1(ya)));
        Sql(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE Clave = 'EMAIL_CARPETAADJUNTOS'"));
        Form1 f;
        f.Cargar();
        EXPECT_TRUE(prompts->Preguntas().isEmpty()) << ya << ": " << prompts->Preguntas().value(0).texto.toStdString();
        EXPECT_EQ(f.CarpetaAdjuntos(), dir.filePath(QStringLiteral("programa/EMAIL/ADJUNTOS/")));
        EXPECT_EQ(Ajuste(), f.CarpetaAdjuntos());
        EXPECT_TRUE(f.Timer2()->isActive());
    }
    pruebas::VariableEntorno correo{"RECEPCION_CORREO", dir.filePath(QStringLiteral("correo"))};
    pruebas::BuzonPrueba bandeja(dir.filePath(QStringLiteral("correo")), QStringLiteral("ventas@x.test"));
    bandeja.Agregar("From: a@x.test\r\nSubject: con adjunto\r\nMIME-Version: 1.0\r\n"
                    "Content-Type: multipart/mixed; boundary=\"B\"\r\n\r\n--B\r\nContent-Type: text/plain\r\n\r\nhola\r\n"
                    "--B\r\nContent-Type: text/plain\r\nContent-Disposition: attachment; filename=\"nota.txt\"\r\n\r\nx\r\n--B--\r\n",
                    QDateTime::currentDateTime().addSecs(-60), QStringLiteral("ADJ1"));
    Form1 f;
    f.Cargar();
    f.SetTextoCuentas(QStringLiteral("ventas@x.test"));
    f.CmdRecibir()->click();
    EXPECT_TRUE(prompts->Preguntas().isEmpty()) << prompts->Preguntas().value(0).texto.toStdString();
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("programa/EMAIL/ADJUNTOS"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    const QString uidl = QDir(dir.filePath(QStringLiteral("programa/EMAIL/ADJUNTOS"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("programa/EMAIL/ADJUNTOS/%1/nota.txt").arg(uidl))));
}

TEST_F(Ventana, CarpetaQueNoSePuedeCrearNombraLaRutaYNoArmaElTemporizador) {
    // EMAIL is a file, so EMAIL/ADJUNTOS/ cannot be made.
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("programa/EMAIL")), "x");
    prompts->Encolar(5);  // Ignore: go on with the next step
    Form1 f;
    f.Cargar();
    ASSERT_EQ(prompts->Preguntas().size(), 2);
    EXPECT_TRUE(prompts->Preguntas()[0].texto.contains(dir.filePath(QStringLiteral("programa/EMAIL"))))
        << prompts->Preguntas()[0].texto.toStdString();
    EXPECT_TRUE(prompts->Preguntas()[1].texto.startsWith(QStringLiteral("La ruta configurada como carpeta de adjuntos")));
    EXPECT_FALSE(f.Timer2()->isActive());
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

// Hidden, the bar is told its value only when the window is shown again;
// the value read back is always the last one set.
TEST_F(Ventana, LaBarraOcultaMuestraSuValorAlVolverAVerse) {
    Form1 f;
    f.SetRangoBarra(0, 10);
    QProgressBar* barra = f.findChild<QProgressBar*>();
    ASSERT_NE(barra, nullptr);
    f.hide();
    for (int i = 1; i <= 7; ++i) f.SetValorBarra(i);
    f.SetValorBarra(11);  // out of range: ignored, as by the bar itself
    EXPECT_EQ(f.ValorBarra(), 7);
    f.show();
    EXPECT_EQ(barra->value(), 7);
    f.showMinimized();
    f.SetValorBarra(9);
    f.showNormal();
    EXPECT_EQ(barra->value(), 9);
    f.SetRangoBarra(0, 3);  // a shorter range starts the bar again, as Qt's does
    EXPECT_EQ(f.ValorBarra(), barra->value());
}
