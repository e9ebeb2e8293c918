// An unattended import killed (SIGKILL) at random moments, then run once to
// the end, leaves what one clean run leaves: the same rows, each entry once,
// the same attachment files and sizes, and each reply sent once.
#include "ApoyoPruebas.h"
#include "ServidorPrueba.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>

namespace {

constexpr int Mensajes = 300;
constexpr int Cortes = 8;
const QString Cuenta = QStringLiteral("ventas@x.test");

// One installation: its data folder, mail store, attachments and SMTP server.
struct Puesto {
    explicit Puesto(const QString& raiz)
        : datos(raiz + QStringLiteral("/datos")), correo(raiz + QStringLiteral("/correo")),
          adjuntos(raiz + QStringLiteral("/adjuntos")), temp(raiz + QStringLiteral("/temp")) {
        for (const QString& c : {datos, adjuntos, temp}) QDir().mkpath(c);
    }
    QString datos, correo, adjuntos, temp;
    pruebas::ServidorSmtp smtp{{QStringLiteral("ana@empresa.test"), QStringLiteral("secreta")}};

    QProcessEnvironment Entorno() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("RECEPCION_DATOS"), datos);
        env.insert(QStringLiteral("RECEPCION_CORREO"), correo);
        env.insert(QStringLiteral("TEMP"), temp);
        env.insert(QStringLiteral("TMP"), temp);
        return env;
    }
    QString Sql(const QStringList& args) const {
        QProcess p;
        p.setProcessEnvironment(Entorno());
        p.start(QStringLiteral(RUTA_SQL), args);
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
    }
    void Preparar(const QByteArray& sql) const {
        const QString archivo = temp + QStringLiteral("/preparar.sql");
        pruebas::EscribirArchivo(archivo, sql);
        Sql({QStringLiteral("--crear"), QStringLiteral("GESTION"), archivo});
    }
    void Empezar(QProcess& p) const {
        p.setProcessEnvironment(Entorno());
        p.start(QStringLiteral(RUTA_PROGRAMA), {QStringLiteral("--desatendido"), QStringLiteral("--recibir"), Cuenta,
                                                QStringLiteral("@DbName=GESTION;@Usuario=ANA;")});
        p.waitForStarted(10000);
    }
    // The rows as their identifying columns, sorted.
    QStringList Filas() const {
        QStringList filas = Sql({QStringLiteral("GESTION"), QStringLiteral("-e"),
                                 QStringLiteral("SELECT UIDL, ASUNTO, STATUS, DE FROM V_MA_EMAILMOV")})
                                .split(u'\n', Qt::SkipEmptyParts)
                                .mid(1);
        filas.sort();
        return filas;
    }
    QString Distintos() const {
        return Sql({QStringLiteral("GESTION"), QStringLiteral("-e"),
                    QStringLiteral("SELECT COUNT(DISTINCT UIDL) AS n FROM V_MA_EMAILMOV")})
            .section(u'\n', 1, 1);
    }
    QStringList Archivos() const {
        QStringList r;
        for (const QString& a : pruebas::ArchivosBajo(adjuntos))
            r << QStringLiteral("%1 %2").arg(a).arg(QFileInfo(adjuntos + u'/' + a).size());
        return r;
    }
    // Replies by recipient: how many each one got.
    QMap<QString, int> Respuestas() const {
        QMap<QString, int> r;
        for (const auto& m : smtp.Recibidos())
            for (const auto& destino : m.sobre.value(QStringLiteral("rcpt_tos")).toArray()) ++r[destino.toString()];
        return r;
    }
};

QByteArray Mensaje(int i) {
    QRandomGenerator azar{quint32(i)};
    QByteArray adjunto(int(azar.bounded(200, 20000)), Qt::Uninitialized);
    for (char& c : adjunto) c = char(azar.bounded(256));
    const QByteArray n = QByteArray::number(i);
    const QByteArray texto = i % 10 == 0 ? "Pase el #TELEFONO:Ferreteria# por favor" : "sin comandos";
    return "From: cliente" + n + "@cliente.test\r\nTo: ventas@x.test\r\nSubject: pedido " + n +
           "\r\nMessage-ID: <m" + n + "@cliente.test>\r\nMIME-Version: 1.0\r\n"
           "Content-Type: multipart/mixed; boundary=\"B\"\r\n\r\n--B\r\nContent-Type: text/plain\r\n\r\n" + texto +
           "\r\n--B\r\nContent-Type: application/octet-stream\r\nContent-Transfer-Encoding: base64\r\n"
           "Content-Disposition: attachment; filename=\"pedido-" + n + ".bin\"\r\n\r\n" + adjunto.toBase64(QByteArray::Base64Encoding) +
           "\r\n--B--\r\n";
}

void Entregar(const Puesto& p, qint64 desde) {
    const QString cur = p.correo + QLatin1Char('/') + Cuenta + QStringLiteral("/Bandeja de entrada/cur");
    QDir().mkpath(cur);
    for (int i = 0; i < Mensajes; ++i)
        pruebas::EscribirArchivo(cur + QStringLiteral("/%1.M%2P1.host:2,S").arg(desde + i).arg(i), Mensaje(i));
}

QByteArray Ajustes(const Puesto& p) {
    return "INSERT INTO TA_CONFIGURACION (Grupo,Clave,Valor,ValorAux) VALUES ('DATOS','EMAIL_CARPETAADJUNTOS','" +
           p.adjuntos.toUtf8() + "/','')\n"
           "INSERT INTO ta_usuarios (Nombre, eMail_Server, email_usuario, email_Password, Email_Nombre, email_ServerOtro)"
           " VALUES ('ANA', 'Otro', 'ana@empresa.test', 'secreta', 'Ana', '127.0.0.1:" +
           QByteArray::number(p.smtp.Puerto()) + "')\n"
           "INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C002', 'Ferreteria Lopez')\n"
           "INSERT INTO MA_CUENTASADIC (codigo, TELEFONO, mail) VALUES ('C002', '934444444', 'l@cliente.test')\n";
}

}  // namespace

TEST(ImportacionInterrumpida, MatarEnMomentosAlAzarYTerminarDejaLoMismoQueUnaPasada) {
    QTemporaryDir dir;
    Puesto limpio(dir.filePath(QStringLiteral("limpio"))), cortado(dir.filePath(QStringLiteral("cortado")));
    ASSERT_TRUE(limpio.smtp.Listo()) << limpio.smtp.Fallo().toStdString();
    ASSERT_TRUE(cortado.smtp.Listo()) << cortado.smtp.Fallo().toStdString();
    const qint64 desde = QDateTime::currentSecsSinceEpoch() - 3600;
    for (const Puesto* p : {&limpio, &cortado}) {
        Entregar(*p, desde);
        p->Preparar(Ajustes(*p));
    }

    QElapsedTimer reloj;
    reloj.start();
    {
        QProcess p;
        limpio.Empezar(p);
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    const qint64 pasada = reloj.elapsed();

    QRandomGenerator azar(QRandomGenerator::global()->generate());
    QStringList momentos;
    for (int i = 0; i < Cortes; ++i) {
        const int ms = int(azar.bounded(qMax<qint64>(pasada, 50)));
        QProcess p;
        cortado.Empezar(p);
        QThread::msleep(ulong(ms));
        p.kill();  // SIGKILL
        p.waitForFinished(10000);
        momentos << QString::number(ms);
    }
    {
        QProcess p;
        cortado.Empezar(p);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }

    const QStringList filas = limpio.Filas();
    EXPECT_EQ(filas.size(), Mensajes);
    EXPECT_EQ(cortado.Filas(), filas);
    EXPECT_EQ(cortado.Distintos(), QString::number(Mensajes));
    EXPECT_EQ(cortado.Archivos(), limpio.Archivos());
    EXPECT_EQ(limpio.Archivos().size(), Mensajes);
    const auto respuestas = cortado.Respuestas();
    EXPECT_EQ(limpio.Respuestas().size(), Mensajes / 10);
    // No reply twice, and none the clean run did not send.
    int dobles = 0;
    for (auto r = respuestas.cbegin(); r != respuestas.cend(); ++r) {
        dobles += r.value() > 1;
        EXPECT_EQ(r.value(), 1) << r.key().toStdString();
        EXPECT_TRUE(limpio.Respuestas().contains(r.key())) << r.key().toStdString();
    }
    // Every reply arrives, but one whose sending was cut after its text went
    // out: its outcome is unknown (it may have arrived), so it is never sent
    // again, and the log says so.
    QFile log(cortado.temp + QStringLiteral("/CVERR.LOG"));
    const QString textoLog = log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    const qsizetype desconocidas = textoLog.count(QStringLiteral("se desconoce si llegó"));
    EXPECT_GE(respuestas.size() + desconocidas, limpio.Respuestas().size());
    const qsizetype perdidas = qMax<qsizetype>(0, limpio.Respuestas().size() - respuestas.size() - desconocidas);
    std::printf("interrumpida: pasada limpia %lld ms, cortes a %s ms; filas %lld (limpia %lld), UIDL distintos %s, "
                "adjuntos %lld (limpia %lld), destinatarios respondidos %lld (limpia %lld), dobles %d, sin saber si llegaron %lld, perdidas %lld\n",
                pasada, qPrintable(momentos.join(u',')), qlonglong(cortado.Filas().size()), qlonglong(filas.size()),
                qPrintable(cortado.Distintos()), qlonglong(cortado.Archivos().size()), qlonglong(limpio.Archivos().size()),
                qlonglong(respuestas.size()), qlonglong(limpio.Respuestas().size()), dobles, qlonglong(desconocidas), qlonglong(perdidas));
}
