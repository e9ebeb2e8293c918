// Mail from a real IMAP server (a private Dovecot) brought into the store by
// mbsync from the setting, then imported by the reception cycle.
#include "reception/CicloRecepcion.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "platform/db/Recordset.h"
#include "ServidorPrueba.h"
#include "BasePrueba.h"
#include "BuzonPrueba.h"
#include "VistaPrueba.h"
#include "DovecotPrueba.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTcpServer>

#include <iostream>

using namespace reception;

namespace {

class Imap : public pruebas::BasePrueba {
protected:
    pruebas::VariableEntorno correo{"RECEPCION_CORREO", dir.filePath(QStringLiteral("correo"))};
    pruebas::VariableEntorno inicio{"HOME", dir.path()};
    pruebas::VistaPrueba vista;
    CicloRecepcion ciclo{vista};
    QString cuenta = QStringLiteral("ventas@demo.test");
    pruebas::Dovecot& dovecot = pruebas::DovecotCompartido();

    void SetUp() override {
        BasePrueba::SetUp();
        prompts->OkTrasAccion(nullptr);
        ASSERT_TRUE(dovecot.Listo()) << dovecot.Fallo().toStdString();
        common::TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
        common::Datos().SetBaseDeDatos(QStringLiteral("GESTION"));
        common::Datos().Conectar(false, 3, QString(), true, true);
        common::Contexto().UsuarioLogeado = QStringLiteral("ANA");
        vista.cuentas = cuenta;
        vista.adjuntos = dir.filePath(QStringLiteral("adjuntos"));
        QDir().mkpath(vista.adjuntos);
        QDir().mkpath(Bandeja());
        Fijar(QStringLiteral("EMAIL_SINCRONIZAR_ESPERA"), QStringLiteral("3"));
    }
    QString Bandeja() const { return dir.filePath(QStringLiteral("correo/") + cuenta + QStringLiteral("/Bandeja de entrada")); }
    static void Fijar(const QString& clave, const QString& valor) {
        common::GrabaDfg(clave, valor, QString(), false, QStringLiteral("DATOS"), true);
    }
    static void Sql(const QString& s) { common::Datos().EjecutarSQL(s); }
    // An mbsync configuration for the account, as the README shows it but
    // without TLS, and the setting that runs it.
    void Mbsync(int puerto, const QString& clave) {
        const QString rc = dir.filePath(QStringLiteral("mbsyncrc"));
        QFile f(rc);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("IMAPAccount ventas\nHost 127.0.0.1\nPort %1\nUser %2\nPass %3\nSSLType None\n"
                               "AuthMechs LOGIN\n\nIMAPStore ventas-servidor\nAccount ventas\n\n"
                               "MaildirStore ventas-local\nPath \"%4/\"\nInbox \"%5\"\n\n"
                               "Channel %6\nFar :ventas-servidor:\nNear :ventas-local:\nPatterns INBOX\n"
                               "Sync Pull\nCreate Near\nExpunge None\nCopyArrivalDate yes\nSyncState *\n")
                    .arg(puerto)
                    .arg(QLatin1String(pruebas::Dovecot::Usuario), clave,
                         dir.filePath(QStringLiteral("correo/") + cuenta), Bandeja(), cuenta)
                    .toUtf8());
        f.close();
        Fijar(QStringLiteral("EMAIL_SINCRONIZAR"), QStringLiteral("mbsync -q -c \"%1\" {cuenta}").arg(rc));
    }
    static QList<QPair<QString, QString>> Filas() {
        QList<QPair<QString, QString>> filas;
        platform::db::Recordset rs;
        common::Datos().AbrirRecordset(QStringLiteral("SELECT Asunto, FECHAHORA FROM V_MA_EMAILMOV ORDER BY FECHAHORA"), rs);
        for (; !rs.Eof(); rs.MoveNext())
            filas.append({rs.Fields(QStringLiteral("Asunto")).Value().toString(),
                          rs.Fields(QStringLiteral("FECHAHORA")).Value().toString()});
        return filas;
    }
    QStringList LineasLog() {
        QFile f(dir.filePath(QStringLiteral("temp/CVERR.LOG")));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
};

QString Formato(const QDateTime& t) { return t.toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")); }

}  // namespace

TEST_F(Imap, SincronizaEImportaElPeriodoConSuHoraDeLlegada) {
    pruebas::ServidorSmtp::Opciones opciones;
    opciones.usuario = QStringLiteral("ana@empresa.test");
    opciones.clave = QStringLiteral("secreta");
    pruebas::ServidorSmtp smtp(opciones);
    ASSERT_TRUE(smtp.Listo()) << smtp.Fallo().toStdString();
    Sql(QStringLiteral("INSERT INTO ta_usuarios (Nombre, eMail_Server, email_usuario, email_Password, Email_Nombre, "
                       "email_ServerOtro) VALUES ('ANA', 'Otro', 'ana@empresa.test', 'secreta', 'Ana', '127.0.0.1:%1')")
            .arg(smtp.Puerto()));
    Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C1', 'ALMACEN')"));
    Sql(QStringLiteral("INSERT INTO MA_CUENTASADIC (codigo, TELEFONO) VALUES ('C1', '912345678')"));

    // Whole seconds: INTERNALDATE has no fraction.
    const QDateTime ahora = pruebas::MomentoFijo();
    struct Mensaje {
        QString asunto;
        QDateTime llegada;
        QString cuerpo;
    };
    const Mensaje mensajes[] = {
        {QStringLiteral("hace 40 dias"), ahora.addDays(-40), QStringLiteral("viejo")},
        {QStringLiteral("hace 3 dias"), ahora.addDays(-3), QStringLiteral("pedido")},
        {QStringLiteral("hace 2 horas"), ahora.addSecs(-7200), QStringLiteral("el telefono #TELEFONO:almacen#")},
    };
    for (const Mensaje& m : mensajes) {
        const QString fallo = dovecot.Agregar(
            pruebas::MensajeTexto(m.asunto, QStringLiteral("cliente@cliente.test"), m.cuerpo), m.llegada);
        ASSERT_TRUE(fallo.isEmpty()) << fallo.toStdString();
        std::cout << "APPEND " << m.asunto.toStdString() << " INTERNALDATE " << Formato(m.llegada).toStdString() << "\n";
    }
    Mbsync(dovecot.Puerto(), QLatin1String(pruebas::Dovecot::Clave));

    ASSERT_TRUE(ciclo.Recibir());
    for (const auto& p : prompts->Preguntas()) ADD_FAILURE() << p.titulo.toStdString() << ": " << p.texto.toStdString();
    EXPECT_TRUE(LineasLog().isEmpty()) << LineasLog().join(u'\n').toStdString();
    const auto filas = Filas();
    for (const auto& f : filas) std::cout << "FILA " << f.first.toStdString() << " FECHAHORA " << f.second.toStdString() << "\n";
    ASSERT_EQ(filas.size(), 2);
    EXPECT_EQ(filas[0], qMakePair(mensajes[1].asunto, Formato(mensajes[1].llegada)));
    EXPECT_EQ(filas[1], qMakePair(mensajes[2].asunto, Formato(mensajes[2].llegada)));

    // Again: nothing new on the server, nothing new stored, no second reply.
    ASSERT_TRUE(ciclo.Recibir());
    EXPECT_EQ(Filas().size(), 2);
    EXPECT_EQ(smtp.Recibidos().size(), 1);
    EXPECT_TRUE(LineasLog().isEmpty());
}

// Each failure: one line in CVERR.LOG, what the store already holds is still
// imported, and the next tick tries again.
TEST_F(Imap, FallosDelSincronizador) {
    QTcpServer mudo;  // accepts and never answers
    ASSERT_TRUE(mudo.listen(QHostAddress::LocalHost, 0));
    struct Caso {
        const char* nombre;
        int puerto;
        QString clave;
        const char* espera;
    };
    const Caso casos[] = {
        {"servidor caído", pruebas::PuertoLibre(), QLatin1String(pruebas::Dovecot::Clave), "5"},
        {"clave equivocada", dovecot.Puerto(), QStringLiteral("otra"), "5"},
        {"sin respuesta", mudo.serverPort(), QLatin1String(pruebas::Dovecot::Clave), "1"},
    };
    pruebas::BuzonPrueba bandeja(dir.filePath(QStringLiteral("correo")), cuenta);
    int n = 0;
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        QFile::remove(dir.filePath(QStringLiteral("temp/CVERR.LOG")));
        Mbsync(c.puerto, c.clave);
        Fijar(QStringLiteral("EMAIL_SINCRONIZAR_ESPERA"), QLatin1String(c.espera));
        bandeja.Agregar(pruebas::MensajeTexto(QString::fromUtf8(c.nombre), QStringLiteral("a@b.test"), QStringLiteral("x")),
                        pruebas::MomentoFijo().addSecs(-60));
        ++n;
        ASSERT_TRUE(ciclo.Recibir());
        const QStringList log = LineasLog();
        ASSERT_EQ(log.size(), 1) << log.join(u'\n').toStdString();
        std::cout << c.nombre << ": " << log[0].toStdString() << "\n";
        EXPECT_TRUE(log[0].contains(cuenta));
        EXPECT_TRUE(prompts->Preguntas().isEmpty());
        EXPECT_EQ(Filas().size(), n);
        ASSERT_TRUE(ciclo.Tick());  // the account is known now
        EXPECT_EQ(LineasLog().size(), 2);
    }
}
