// The program run as a user would, against a MariaDB server: start-up with
// a parameter line naming a data source, an import answered by SMTP, and
// two workstations importing one inbox into one database at once.
#include "ApoyoPruebas.h"
#include "ServidorMariaDb.h"
#include "ServidorPrueba.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>

#include <cstdlib>

using pruebas::ServidorMariaDb;

namespace {

const QString Cuenta = QStringLiteral("ventas@x.test");

class PuestosMariaDb : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString correo = dir.filePath(QStringLiteral("correo"));
    QString adjuntos = dir.filePath(QStringLiteral("adjuntos")) + QLatin1Char('/');
    pruebas::ServidorSmtp smtp{{QStringLiteral("ana@empresa.test"), QStringLiteral("secreta")}};
    QString base;

    void SetUp() override {
        auto& servidor = ServidorMariaDb::Instancia();
        ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
        ASSERT_TRUE(smtp.Listo()) << smtp.Fallo().toStdString();
        static int n = 0;
        base = QStringLiteral("puesto%1").arg(++n);
        ASSERT_EQ(servidor.CrearBase(base), QString());
        ASSERT_EQ(servidor.CrearBase(QStringLiteral("CV_ESTADISTICAS"), QStringLiteral("estadisticas")), QString());
        QDir().mkpath(adjuntos);
        ASSERT_EQ(servidor.Sql(QStringLiteral(
            "INSERT INTO ta_usuarios (Nombre, eMail_Server, email_usuario, email_Password, Email_Nombre, "
            "email_ServerOtro) VALUES ('ANA', 'Otro', 'ana@empresa.test', 'secreta', 'Ana', '127.0.0.1:%1');"
            "INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C002', 'Ferretería López');"
            "INSERT INTO MA_CUENTASADIC (codigo, TELEFONO, mail) VALUES ('C002', '934444444', 'l@cliente.test');"
            "INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('DATOS', 'EMAIL_CARPETAADJUNTOS', '%2')")
                      .arg(smtp.Puerto()).arg(adjuntos), base), QString());
    }

    void Mensaje(int i, const QByteArray& texto) {
        const QString cur = correo + QLatin1Char('/') + Cuenta + QStringLiteral("/Bandeja de entrada/cur");
        QDir().mkpath(cur);
        pruebas::EscribirArchivo(
            cur + QStringLiteral("/%1.M%2P1.host:2,S").arg(QDateTime::currentSecsSinceEpoch() - 600 + i).arg(i), texto);
    }
    static QByteArray Simple(int i, const QByteArray& cuerpo) {
        return "From: cliente" + QByteArray::number(i) + "@cliente.test\r\nTo: " + Cuenta.toUtf8() +
               "\r\nSubject: pedido " + QByteArray::number(i) + "\r\nMessage-ID: <m" + QByteArray::number(i) +
               "@cliente.test>\r\n\r\n" + cuerpo + "\r\n";
    }

    QProcess* Recibir() {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();  // ODBCINI of the fixture
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("RECEPCION_DATOS"), dir.filePath(QStringLiteral("datos")));
        env.insert(QStringLiteral("RECEPCION_CORREO"), correo);
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(RUTA_PROGRAMA),
                 {QStringLiteral("--desatendido"), QStringLiteral("--recibir"), Cuenta,
                  QStringLiteral("@Server=%1;@DbName=%2;@Usuario=%3;@Password=%4;")
                      .arg(ServidorMariaDb::Fuente(), base, ServidorMariaDb::Usuario(), ServidorMariaDb::Password())});
        return p;
    }
    static int Esperar(QProcess* p, QString* errores = nullptr) {
        p->waitForFinished(120000);
        const int codigo = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
        if (errores) *errores = QString::fromUtf8(p->readAllStandardError());
        delete p;
        return codigo;
    }
    QString Uno(const QString& sql, const QString& en = QString()) {
        QProcess p;
        p.start(QStringLiteral(RUTA_SQL),
                {QStringLiteral("--servidor"), ServidorMariaDb::Fuente(), QStringLiteral("--usuario"),
                 ServidorMariaDb::Usuario(), QStringLiteral("--password"), ServidorMariaDb::Password(),
                 en.isEmpty() ? base : en, QStringLiteral("-e"), sql});
        p.waitForFinished(60000);
        const QStringList lineas = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
        return lineas.value(1);
    }
    int Respuestas() const {
        int n = 0;
        for (const auto& r : smtp.Recibidos())
            if (r.crudo.contains("934444444")) ++n;
        return n;
    }
};

}  // namespace

TEST_F(PuestosMariaDb, ArranqueImportacionYRespuesta) {
    Mensaje(1, Simple(1, "Necesito el #TELEFONO:C002# por favor"));
    Mensaje(2, "From: cliente2@cliente.test\r\nTo: ventas@x.test\r\nSubject: factura\r\nMIME-Version: 1.0\r\n"
               "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n--b\r\nContent-Type: text/plain\r\n\r\nadjunta\r\n"
               "--b\r\nContent-Type: application/pdf; name=\"factura.pdf\"\r\nContent-Disposition: attachment; "
               "filename=\"factura.pdf\"\r\nContent-Transfer-Encoding: base64\r\n\r\nJVBERi0xLjQK\r\n--b--\r\n");
    QString errores;
    ASSERT_EQ(Esperar(Recibir(), &errores), 0) << errores.toStdString();
    EXPECT_EQ(Uno(QStringLiteral("SELECT COUNT(*) FROM V_MA_EMAILMOV")), QStringLiteral("2"));
    EXPECT_EQ(Uno(QStringLiteral("SELECT USUARIO FROM V_MA_EMAILMOV WHERE ASUNTO = 'FACTURA'")), QStringLiteral("ANA"));
    EXPECT_NE(Uno(QStringLiteral("SELECT COUNT(*) FROM Control_Acceso")), QStringLiteral("0"));  // access audit
    // The statistics link ran on the server: its time-out setting was written.
    EXPECT_EQ(Uno(QStringLiteral("SELECT COUNT(*) FROM TA_CONFIGURACION WHERE Clave = 'TIMEOUT'"),
                  QStringLiteral("CV_ESTADISTICAS")), QStringLiteral("1"));
    bool adjunto = false;
    for (QDirIterator it(adjuntos, QDirIterator::Subdirectories); it.hasNext();)
        if (it.next().endsWith(QStringLiteral("factura.pdf"))) adjunto = true;
    EXPECT_TRUE(adjunto);
    EXPECT_EQ(Respuestas(), 1);
    // Again: nothing new is stored nor answered.
    ASSERT_EQ(Esperar(Recibir(), &errores), 0) << errores.toStdString();
    EXPECT_EQ(Uno(QStringLiteral("SELECT COUNT(*) FROM V_MA_EMAILMOV")), QStringLiteral("2"));
    EXPECT_EQ(Respuestas(), 1);
}

TEST_F(PuestosMariaDb, DosPuestosALaVezNiGuardanNiRespondenDosVeces) {
    constexpr int Mensajes = 300;
    int comandos = 0;
    for (int i = 0; i < Mensajes; ++i) {
        const bool comando = i % 10 == 0;
        comandos += comando;
        Mensaje(i, Simple(i, comando ? "Pase el #TELEFONO:C002#" : "sin comandos"));
    }
    QProcess* a = Recibir();
    QProcess* b = Recibir();
    QString erroresA, erroresB;
    EXPECT_EQ(Esperar(a, &erroresA), 0) << erroresA.toStdString();
    EXPECT_EQ(Esperar(b, &erroresB), 0) << erroresB.toStdString();
    const QString filas = Uno(QStringLiteral("SELECT COUNT(*) FROM V_MA_EMAILMOV"));
    const QString distintos = Uno(QStringLiteral("SELECT COUNT(DISTINCT UIDL) FROM V_MA_EMAILMOV"));
    EXPECT_EQ(filas, QString::number(Mensajes));
    EXPECT_EQ(distintos, QString::number(Mensajes));
    EXPECT_EQ(Respuestas(), comandos);
    std::printf("dos puestos: %d mensajes, filas %s, UIDL distintos %s, respuestas %d de %d comandos\n", Mensajes,
                qPrintable(filas), qPrintable(distintos), Respuestas(), comandos);
}

// kill -9 at random moments of runs that are sending, then a full run:
// every message stored once, and no customer answered twice.
TEST_F(PuestosMariaDb, MatarDuranteLosEnviosNuncaRespondeDosVeces) {
    constexpr int Mensajes = 8;
    for (int i = 0; i < Mensajes; ++i) Mensaje(i, Simple(i, "Pase el #TELEFONO:C002#"));
    // Slow answers, so that the kills land inside the SMTP dialogue too.
    smtp.Comportamiento({{QStringLiteral("retraso"), 0.15}});
    std::srand(static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch()));
    QStringList muertes;
    for (int k = 0; k < 5; ++k) {
        QProcess* p = Recibir();
        const int espera = 300 + std::rand() % 2500;
        if (!p->waitForFinished(espera)) {
            p->kill();  // SIGKILL
            p->waitForFinished();
            muertes << QString::number(espera);
        }
        delete p;
    }
    smtp.Comportamiento({});
    QString errores;
    Esperar(Recibir(), &errores);
    EXPECT_EQ(Uno(QStringLiteral("SELECT COUNT(DISTINCT UIDL) FROM V_MA_EMAILMOV")), QString::number(Mensajes));
    EXPECT_EQ(Uno(QStringLiteral("SELECT COUNT(*) FROM V_MA_EMAILMOV")), QString::number(Mensajes));
    QMap<QString, int> porCliente;
    for (const auto& r : smtp.Recibidos()) ++porCliente[r.sobre[u"rcpt_tos"].toArray()[0].toString()];
    for (auto it = porCliente.cbegin(); it != porCliente.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().toStdString();
    std::printf("matar: muertes a los ms %s; %lld de %d clientes respondidos, ninguno dos veces\n",
                qPrintable(muertes.join(QLatin1Char(' '))), static_cast<long long>(porCliente.size()), Mensajes);
}
