// The program as a user runs it: options, exit status, the unattended import.
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

struct Resultado {
    int codigo;
    QString salida;
    QString errores;
};

Resultado Ejecutar(const QString& programa, const QStringList& argumentos, const QString& datos,
                   const QString& correo) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("RECEPCION_DATOS"), datos);
    env.insert(QStringLiteral("RECEPCION_CORREO"), correo);
    p.setProcessEnvironment(env);
    p.start(programa, argumentos);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

class Programa : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString datos = dir.filePath(QStringLiteral("datos"));
    QString correo = dir.filePath(QStringLiteral("correo"));
    Resultado Recepcion(const QStringList& args) {
        return Ejecutar(QStringLiteral(RUTA_PROGRAMA), args, datos, correo);
    }
};

}  // namespace

TEST_F(Programa, AyudaEnCastellano) {
    const Resultado r = Recepcion({QStringLiteral("--help")});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_TRUE(r.salida.contains(QStringLiteral("Uso: recepcion-email")));
    EXPECT_NE(Recepcion({QStringLiteral("--no-existe")}).codigo, 0);
}

TEST_F(Programa, RecibirImportaYTerminaConCero) {
    const QString bandeja = correo + QStringLiteral("/ventas@x.test/Bandeja de entrada/cur");
    QDir().mkpath(bandeja);
    const QString nombre = QStringLiteral("%1.prueba1.host:2,S").arg(QDateTime::currentSecsSinceEpoch() - 60);
    pruebas::EscribirArchivo(bandeja + QLatin1Char('/') + nombre,
                             "From: a@x.test\r\nSubject: hola\r\n\r\ncuerpo\r\n");
    const QStringList args{QStringLiteral("--desatendido"), QStringLiteral("--recibir"), QStringLiteral("ventas@x.test"),
                           QStringLiteral("@Server=;@DbName=GESTION;@Usuario=ANA;@Password=;")};
    const Resultado r = Recepcion(args);
    EXPECT_EQ(r.codigo, 0) << r.errores.toStdString();
    const Resultado filas = Ejecutar(QStringLiteral(RUTA_SQL),
                                     {QStringLiteral("GESTION"), QStringLiteral("-e"),
                                      QStringLiteral("SELECT ASUNTO, USUARIO, CuentaEmail FROM V_MA_EMAILMOV")},
                                     datos, correo);
    EXPECT_EQ(filas.salida, QStringLiteral("ASUNTO\tUSUARIO\tCuentaEmail\nhola\tANA\tventas@x.test\n"));
    // Run again: nothing new, still 0.
    EXPECT_EQ(Recepcion(args).codigo, 0);
}

TEST_F(Programa, SinConexionTerminaConError) {
    // The data folder cannot be created: its parent is a file.
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("archivo")), "x");
    datos = dir.filePath(QStringLiteral("archivo/datos"));
    const Resultado r = Recepcion({QStringLiteral("--desatendido"), QStringLiteral("--recibir"), QStringLiteral("x"),
                                   QStringLiteral("@DbName=GESTION;")});
    EXPECT_NE(r.codigo, 0);
    EXPECT_TRUE(r.errores.contains(QStringLiteral("No se pudo conectar con la base de datos GESTION"))) << r.errores.toStdString();
}

TEST_F(Programa, CincoProgramasALaVezSobreUnaCarpetaVacia) {
    QDir().mkpath(correo + QStringLiteral("/ventas@x.test/Bandeja de entrada/cur"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("RECEPCION_DATOS"), datos);
    env.insert(QStringLiteral("RECEPCION_CORREO"), correo);
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < 5; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(RUTA_PROGRAMA),
                 {QStringLiteral("--desatendido"), QStringLiteral("--recibir"), QStringLiteral("ventas@x.test"),
                  QStringLiteral("@Server=;@DbName=GESTION;@Usuario=ANA;@Password=;")});
        procesos.push_back(std::move(p));
    }
    for (auto& p : procesos) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    EXPECT_EQ(QDir(datos).entryList({QStringLiteral("GESTION*")}, QDir::Files),
              QStringList{QStringLiteral("GESTION.db")});
    const Resultado filas = Ejecutar(QStringLiteral(RUTA_SQL),
                                     {QStringLiteral("GESTION"), QStringLiteral("-e"),
                                      QStringLiteral("SELECT COUNT(*) AS n FROM V_MA_EMAILMOV")},
                                     datos, correo);
    EXPECT_EQ(filas.salida, QStringLiteral("n\n0\n"));
}
