// The synchroniser run before each account's import, with plain commands in
// place of a real one: arguments, failures and the import that follows.
#include "reception/Sincronizar.h"

#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "platform/db/Recordset.h"
#include "reception/LeerOutlook.h"
#include "BasePrueba.h"
#include "BuzonPrueba.h"
#include "VistaPrueba.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

using namespace reception;

TEST(ArgumentosSincronizar, MarcadoresDentroDeCadaArgumento) {
    const QString raiz = QStringLiteral("/home/ana/Mail con blancos");
    struct Caso {
        QString linea, cuenta;
        QStringList esperado;
    };
    const Caso casos[] = {
        {QStringLiteral("mbsync -c /home/ana/.mbsyncrc {cuenta}"), QStringLiteral("ventas@demo.test"),
         {QStringLiteral("mbsync"), QStringLiteral("-c"), QStringLiteral("/home/ana/.mbsyncrc"),
          QStringLiteral("ventas@demo.test")}},
        {QStringLiteral("sync {cuenta}"), QStringLiteral("o'brien y cía@demo.test"),
         {QStringLiteral("sync"), QStringLiteral("o'brien y cía@demo.test")}},
        {QStringLiteral("sync \"{correo}/{cuenta}\" x"), QStringLiteral("a \"b\"; rm -rf ~"),
         {QStringLiteral("sync"), raiz + QStringLiteral("/a \"b\"; rm -rf ~"), QStringLiteral("x")}},
        {QStringLiteral("sync --canal={cuenta}"), QStringLiteral("$(id)`id`{correo}"),
         {QStringLiteral("sync"), QStringLiteral("--canal=$(id)`id`{correo}")}},
        {QStringLiteral("  "), QStringLiteral("x"), {}},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(ArgumentosSincronizar(c.linea, c.cuenta, raiz), c.esperado) << c.linea.toStdString();
}

namespace {
class Sincronizacion : public pruebas::BasePrueba {
protected:
    pruebas::VariableEntorno correo{"RECEPCION_CORREO", dir.filePath(QStringLiteral("correo"))};
    QString cuenta = QStringLiteral("o'brien y cía@demo.test");
    pruebas::BuzonPrueba bandeja{dir.filePath(QStringLiteral("correo")), cuenta};
    pruebas::VistaPrueba vista;

    void SetUp() override {
        BasePrueba::SetUp();
        prompts->OkTrasAccion(nullptr);
        QDir().mkpath(dir.filePath(QStringLiteral("adjuntos")));
        common::TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
        common::Datos().SetBaseDeDatos(QStringLiteral("GESTION"));
        common::Datos().Conectar(false, 3, QString(), true, true);
        common::Contexto().UsuarioLogeado = QStringLiteral("ANA");
        vista.cuentas = cuenta;
        vista.adjuntos = dir.filePath(QStringLiteral("adjuntos"));
    }

    void Fijar(const QString& clave, const QString& valor) {
        common::GrabaDfg(clave, valor, QString(), false, QStringLiteral("DATOS"), true);
    }
    void Importar() {
        QString fd, fh;
        LeerOutlook(vista, cuenta, fd, fh);
    }
    long Filas() {
        platform::db::Recordset rs;
        common::Datos().AbrirRecordset(QStringLiteral("SELECT COUNT(*) AS N FROM V_MA_EMAILMOV"), rs);
        return rs.Fields(QStringLiteral("N")).Value().toLongLong();
    }
    QStringList LineasLog() {
        QFile f(dir.filePath(QStringLiteral("temp/CVERR.LOG")));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
};
}  // namespace

TEST_F(Sincronizacion, ElComandoRecibeLaCuentaComoUnSoloArgumento) {
    const QString guion = dir.filePath(QStringLiteral("sincronizar.sh"));
    const QString salida = guion + QStringLiteral(".salida");
    {
        QFile g(guion);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        g.write("#!/bin/sh\nprintf '%s|%s|%s' \"$#\" \"$1\" \"$2\" > \"$0.salida\"\n");
        g.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    Fijar(QStringLiteral("EMAIL_SINCRONIZAR"), guion + QStringLiteral(" {cuenta} {correo}"));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("uno"), QStringLiteral("a@b.test"), QStringLiteral("x")),
                    pruebas::MomentoFijo().addSecs(-60));
    Importar();
    QFile f(salida);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << LineasLog().join(u'\n').toStdString();
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              QStringLiteral("2|") + cuenta + u'|' + dir.filePath(QStringLiteral("correo")));
    EXPECT_EQ(Filas(), 1);
    EXPECT_TRUE(LineasLog().isEmpty());
}

// Each failure: one line in CVERR.LOG, the status label says so, no dialog,
// the store's mail is still imported, and the next import tries again.
TEST_F(Sincronizacion, FallosDejanUnaLineaYSeImportaLoQueHay) {
    struct Caso {
        QString linea;
        QString motivo;
    };
    const Caso casos[] = {
        {QStringLiteral("/no/existe/sincronizador {cuenta}"),
         QStringLiteral("no se pudo ejecutar «/no/existe/sincronizador» (no existe o no se puede ejecutar)")},
        {QStringLiteral("/bin/sh -c 'echo \"IMAP error: authentication failed\"; exit 1'"),
         QStringLiteral("authentication failed")},
        {QStringLiteral("/bin/sleep 30"), QStringLiteral("sin respuesta en 1 segundos")},
    };
    Fijar(QStringLiteral("EMAIL_SINCRONIZAR_ESPERA"), QStringLiteral("1"));
    int n = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.linea.toStdString());
        QFile::remove(dir.filePath(QStringLiteral("temp/CVERR.LOG")));
        Fijar(QStringLiteral("EMAIL_SINCRONIZAR"), c.linea);
        bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("m%1").arg(++n), QStringLiteral("a@b.test"),
                                              QStringLiteral("x")),
                        pruebas::MomentoFijo().addSecs(-60));
        QElapsedTimer reloj;
        reloj.start();
        Importar();
        EXPECT_LT(reloj.elapsed(), 10000);
        const QStringList log = LineasLog();
        ASSERT_EQ(log.size(), 1);
        EXPECT_TRUE(log[0].contains(cuenta)) << log[0].toStdString();
        EXPECT_TRUE(log[0].contains(c.motivo)) << log[0].toStdString();
        EXPECT_TRUE(vista.estados.join(u'\n').contains(c.motivo));
        EXPECT_TRUE(prompts->Preguntas().isEmpty());
        EXPECT_EQ(Filas(), n);
    }
    // The next tick runs it again: one more line.
    Importar();
    EXPECT_EQ(LineasLog().size(), 2);
}

TEST_F(Sincronizacion, CancelarDetieneElComando) {
    Fijar(QStringLiteral("EMAIL_SINCRONIZAR"), QStringLiteral("/bin/sleep 30"));
    QElapsedTimer reloj;
    reloj.start();
    QTimer::singleShot(300, [this] { vista.cancelar = -1; });
    EXPECT_FALSE(Sincronizar(vista, cuenta));
    EXPECT_LT(reloj.elapsed(), 5000);
    ASSERT_EQ(LineasLog().size(), 1);
    EXPECT_TRUE(LineasLog()[0].contains(QStringLiteral("cancelado")));
}
