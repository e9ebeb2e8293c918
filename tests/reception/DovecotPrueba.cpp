#include "DovecotPrueba.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QLocale>
#include <QTcpSocket>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace pruebas {

namespace {

bool Escribir(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size();
}

// Reads lines until one starts with the prefix; false on time-out or close.
bool Esperar(QTcpSocket& s, const QByteArray& prefijo, QByteArray& linea) {
    for (;;) {
        while (!s.canReadLine())
            if (!s.waitForReadyRead(5000)) return false;
        linea = s.readLine();
        if (linea.startsWith(prefijo)) return true;
    }
}

}  // namespace

int PuertoLibre() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

Dovecot::Dovecot() {
    const passwd* usuario = ::getpwnam("dovecot");
    if (!usuario || !::getpwnam("dovenull")) {
        fallo_ = QStringLiteral("faltan los usuarios dovecot/dovenull (scripts/setup instala dovecot-imapd)");
        return;
    }
    const QString raiz = dir_.path();
    // The server's own processes run as dovecot and must reach the mail.
    QFile::setPermissions(raiz, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                    QFileDevice::ReadOther | QFileDevice::ExeOther);
    for (const char* sub : {"base", "estado", "correo"}) QDir(raiz).mkdir(QLatin1String(sub));
    if (::chown(QFile::encodeName(raiz + QStringLiteral("/correo")).constData(), usuario->pw_uid,
                usuario->pw_gid) != 0) {
        fallo_ = QStringLiteral("no se pudo dar la carpeta de correo a dovecot");
        return;
    }
    puerto_ = PuertoLibre();
    const QByteArray uid = QByteArray::number(usuario->pw_uid), gid = QByteArray::number(usuario->pw_gid);
    const QByteArray r = QFile::encodeName(raiz);
    Escribir(raiz + QStringLiteral("/passwd"), QByteArray(Usuario) + ":{PLAIN}" + Clave + ":" + uid + ":" + gid + "::" +
                                                   r + "/correo/" + Usuario + "\n");
    const QByteArray conf =
        "protocols = imap\nlisten = 127.0.0.1\n"
        "base_dir = " + r + "/base\nstate_dir = " + r + "/estado\nlog_path = " + r + "/dovecot.log\n"
        "ssl = no\ndisable_plaintext_auth = no\nauth_mechanisms = plain login\n"
        "default_login_user = dovenull\ndefault_internal_user = dovecot\n"
        "first_valid_uid = " + uid + "\nmail_location = maildir:" + r + "/correo/%u\n"
        "passdb {\n  driver = passwd-file\n  args = " + r + "/passwd\n}\n"
        "userdb {\n  driver = static\n  args = uid=" + uid + " gid=" + gid + " home=" + r + "/correo/%u\n}\n"
        "service imap-login {\n  chroot =\n  inet_listener imap {\n    address = 127.0.0.1\n    port = " +
        QByteArray::number(puerto_) + "\n  }\n  inet_listener imaps {\n    port = 0\n  }\n}\n"
        "service anvil {\n  chroot =\n}\n";
    Escribir(raiz + QStringLiteral("/dovecot.conf"), conf);
    QProcess arranque;
    arranque.start(QStringLiteral("/usr/sbin/dovecot"), {QStringLiteral("-c"), raiz + QStringLiteral("/dovecot.conf")});
    if (!arranque.waitForFinished(20000) || arranque.exitCode() != 0) {
        fallo_ = QStringLiteral("dovecot no arrancó: ") + QString::fromLocal8Bit(arranque.readAllStandardError());
        return;
    }
    for (int i = 0; i < 100; ++i) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, quint16(puerto_));
        if (s.waitForConnected(200)) {
            QFile pid(raiz + QStringLiteral("/base/master.pid"));
            if (pid.open(QIODevice::ReadOnly)) pid_ = pid.readAll().trimmed().toLongLong();
            return;
        }
        QThread::msleep(50);
    }
    fallo_ = QStringLiteral("dovecot no escucha en el puerto %1").arg(puerto_);
}

Dovecot::~Dovecot() {
    // The master writes its pid file once it runs in the background.
    QFile pid(dir_.filePath(QStringLiteral("base/master.pid")));
    if (pid.open(QIODevice::ReadOnly)) pid_ = qMax(pid_, pid.readAll().trimmed().toLongLong());
    if (pid_ <= 0) return;
    ::kill(pid_t(pid_), SIGTERM);
    // The master removes its pid file when it has stopped.
    for (int i = 0; i < 100 && QFile::exists(dir_.filePath(QStringLiteral("base/master.pid"))); ++i)
        QThread::msleep(50);
}

QString Dovecot::Agregar(const QByteArray& mensaje, const QDateTime& llegada) const {
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, quint16(puerto_));
    QByteArray linea;
    if (!s.waitForConnected(5000) || !Esperar(s, "* OK", linea)) return QStringLiteral("sin saludo");
    s.write(QByteArray("a1 LOGIN ") + Usuario + " " + Clave + "\r\n");
    if (!Esperar(s, "a1 ", linea) || !linea.startsWith("a1 OK")) {
        QFile log(dir_.filePath(QStringLiteral("dovecot.log")));
        log.open(QIODevice::ReadOnly);
        return QString::fromLatin1(linea) + QString::fromLocal8Bit(log.readAll().right(1500));
    }
    const QByteArray fecha =
        QLocale::c().toString(llegada.toUTC(), QStringLiteral("dd-MMM-yyyy HH:mm:ss")).toLatin1() + " +0000";
    s.write("a2 APPEND INBOX \"" + fecha + "\" {" + QByteArray::number(mensaje.size()) + "}\r\n");
    if (!Esperar(s, "+", linea)) return QStringLiteral("sin continuación");
    s.write(mensaje + "\r\n");
    if (!Esperar(s, "a2 ", linea) || !linea.startsWith("a2 OK")) return QString::fromLatin1(linea);
    s.write("a3 LOGOUT\r\n");
    s.waitForBytesWritten(1000);
    return {};
}

Dovecot& DovecotCompartido() {
    static Dovecot servidor;
    return servidor;
}

}  // namespace pruebas
