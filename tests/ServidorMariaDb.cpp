#include "ServidorMariaDb.h"

#include "platform/db/CadenasOdbc.h"
#include "platform/db/ConexionOdbc.h"
#include "platform/db/DialectoSqlServer.h"
#include "platform/runtime/ErrorSistema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pruebas {

namespace {

int PuertoLibre() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t largo = sizeof a;
    int puerto = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &largo) == 0)
        puerto = ntohs(a.sin_port);
    close(s);
    return puerto;
}

QString Controlador() {
    const QString ruta = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so");
    return QFile::exists(ruta) ? ruta : QStringLiteral("MariaDB Unicode");
}

QString Raiz(int puerto, const QString& base) {
    return QStringLiteral("DRIVER={%1};SERVER=127.0.0.1;PORT=%2;UID=root;PWD=;%3")
        .arg(Controlador())
        .arg(puerto)
        .arg(base.isEmpty() ? QString() : QStringLiteral("DATABASE=%1;").arg(base));
}

}  // namespace

ServidorMariaDb& ServidorMariaDb::Instancia() {
    static ServidorMariaDb servidor;
    return servidor;
}

ServidorMariaDb::ServidorMariaDb() {
    // Short path: the server's socket name must fit in 108 bytes.
    carpeta_ = QDir::tempPath() + QStringLiteral("/mdb-%1").arg(getpid());
    QDir(carpeta_).removeRecursively();
    QDir().mkpath(carpeta_);
    Arrancar();
}

ServidorMariaDb::~ServidorMariaDb() {
    if (pid_ > 0) {
        kill(static_cast<pid_t>(pid_), SIGTERM);
        int estado = 0;
        for (int i = 0; i < 100 && waitpid(static_cast<pid_t>(pid_), &estado, WNOHANG) == 0; ++i) usleep(100000);
        kill(static_cast<pid_t>(pid_), SIGKILL);
        waitpid(static_cast<pid_t>(pid_), &estado, 0);
    }
    QDir(carpeta_).removeRecursively();
}

void ServidorMariaDb::Arrancar() {
    const QString datos = carpeta_ + QStringLiteral("/datos");
    QProcess instalar;
    instalar.setProcessChannelMode(QProcess::MergedChannels);
    instalar.start(QStringLiteral("mariadb-install-db"),
                   {QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + datos,
                    QStringLiteral("--auth-root-authentication-method=normal"), QStringLiteral("--skip-test-db")});
    if (!instalar.waitForFinished(120000) || instalar.exitStatus() != QProcess::NormalExit ||
        instalar.exitCode() != 0) {
        fallo_ = QStringLiteral("mariadb-install-db no funcionó (¿está instalado mariadb-server?): ") +
                 QString::fromLocal8Bit(instalar.readAll()).right(2000) + instalar.errorString();
        return;
    }
    puerto_ = PuertoLibre();
    const QStringList argumentos{
        QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + datos,
        QStringLiteral("--socket=") + carpeta_ + QStringLiteral("/s"), QStringLiteral("--port=%1").arg(puerto_),
        QStringLiteral("--bind-address=127.0.0.1"), QStringLiteral("--user=root"),
        QStringLiteral("--lower-case-table-names=1"), QStringLiteral("--character-set-server=utf8mb4"),
        QStringLiteral("--collation-server=utf8mb4_unicode_ci"), QStringLiteral("--skip-log-bin"),
        QStringLiteral("--innodb-buffer-pool-size=32M"), QStringLiteral("--skip-name-resolve"),
        QStringLiteral("--innodb-flush-log-at-trx-commit=2"), QStringLiteral("--open-files-limit=4096"), QStringLiteral("--log-error=") + carpeta_ +
        QStringLiteral("/error.log")};
    QList<QByteArray> guardados;
    for (const QString& a : argumentos) guardados << a.toLocal8Bit();
    std::vector<char*> argv{const_cast<char*>("mariadbd")};
    for (auto& g : guardados) argv.push_back(g.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // The server goes with the test program, however that ends.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        execv("/usr/sbin/mariadbd", argv.data());
        _exit(127);
    }
    pid_ = pid;
    // Ready when it takes a connection.
    QString ultimo;
    for (int i = 0; i < 300; ++i) {
        int estado = 0;
        if (waitpid(pid, &estado, WNOHANG) == pid) {
            pid_ = 0;
            break;
        }
        try {
            platform::db::ConexionOdbc c(Raiz(puerto_, QString()), QStringLiteral("MariaDB de prueba"), 30);
            ultimo.clear();
            break;
        } catch (const platform::runtime::ErrorSistema& e) {
            ultimo = e.Descripcion;
        }
        QThread::msleep(100);
    }
    if (pid_ == 0 || !ultimo.isEmpty()) {
        QFile log(carpeta_ + QStringLiteral("/error.log"));
        log.open(QIODevice::ReadOnly);
        fallo_ = QStringLiteral("mariadbd no arrancó: %1\n%2").arg(ultimo, QString::fromLocal8Bit(log.readAll().right(3000)));
        return;
    }
    const QString u = Usuario(), p = Password();
    QString sql;
    for (const QString& quien : {u, QStringLiteral("CV_ESTADISTICAS")}) {
        const QString clave = quien == u ? p : QStringLiteral("RZ_MOLVENTARICO");
        sql += QStringLiteral("CREATE USER '%1'@'%' IDENTIFIED BY '%2';GRANT ALL ON *.* TO '%1'@'%';")
                   .arg(quien, QString(clave).replace(QLatin1Char('\''), QStringLiteral("''")));
    }
    if (const QString e = Sql(sql); !e.isEmpty()) {
        fallo_ = e;
        return;
    }
    // The data source the tests' parameter lines name.
    const QString ini = carpeta_ + QStringLiteral("/odbc.ini");
    QFile f(ini);
    f.open(QIODevice::WriteOnly);
    f.write(QStringLiteral("[%1]\nDriver=%2\nSERVER=127.0.0.1\nPORT=%3\n")
                .arg(Fuente(), Controlador()).arg(puerto_).toUtf8());
    f.close();
    qputenv("ODBCINI", ini.toLocal8Bit());
}

QString ServidorMariaDb::Sql(const QString& sentencias, const QString& base) {
    if (pid_ == 0) return fallo_.isEmpty() ? QStringLiteral("sin servidor") : fallo_;
    try {
        platform::db::ConexionOdbc c(Raiz(puerto_, base), QStringLiteral("MariaDB de prueba"), 60);
        for (const QString& s : platform::db::DividirLote(sentencias)) {
            c.Ejecutar(s);
            if (c.Errors().Count() > 0)
                return QStringLiteral("%1 (%2)").arg(c.Errors().Item(0).Description, s.left(200));
        }
    } catch (const platform::runtime::ErrorSistema& e) {
        return e.Descripcion;
    }
    return {};
}

QString ServidorMariaDb::CrearBase(const QString& nombre, const QString& esquema) {
    if (!Listo()) return fallo_;
    if (const QString e = Sql(QStringLiteral("DROP DATABASE IF EXISTS %1;CREATE DATABASE %1").arg(nombre)); !e.isEmpty())
        return e;
    QFile f(QStringLiteral(RUTA_FUENTES "/schema/mariadb/%1.sql").arg(esquema));
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("no se puede leer ") + f.fileName();
    return Sql(QString::fromUtf8(f.readAll()), nombre);
}

}  // namespace pruebas
