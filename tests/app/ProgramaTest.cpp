// The program as a user runs it: options, exit status, the unattended import.
#include "ApoyoPruebas.h"

#include "platform/mail/Aplicacion.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <functional>
#include <vector>

namespace {

struct Resultado {
    int codigo;
    QString salida;
    QString errores;
};

// Without pantalla the run has no display at all, as under a timer or cron.
Resultado Ejecutar(const QString& programa, const QStringList& argumentos, const QString& datos,
                   const QString& correo, bool pantalla = true) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!pantalla)
        for (const char* v : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(QString::fromLatin1(v));
    env.insert(QStringLiteral("RECEPCION_DATOS"), datos);
    env.insert(QStringLiteral("RECEPCION_CORREO"), correo);
    // CVERR.LOG and the traces: beside the data, private to the test.
    env.insert(QStringLiteral("TEMP"), QFileInfo(datos).path());
    env.insert(QStringLiteral("TMP"), QFileInfo(datos).path());
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
    Resultado Recepcion(const QStringList& args, bool pantalla = true) {
        return Ejecutar(QStringLiteral(RUTA_PROGRAMA), args, datos, correo, pantalla);
    }
    // One message in the account's inbox, delivered a minute ago.
    void Entregar(const QString& cuenta, const QByteArray& mensaje, const QString& unico = QStringLiteral("prueba1")) {
        const QString bandeja = correo + QLatin1Char('/') + cuenta + QStringLiteral("/Bandeja de entrada/cur");
        QDir().mkpath(bandeja);
        const QString nombre = QStringLiteral("%1.%2.host:2,S").arg(QDateTime::currentSecsSinceEpoch() - 60).arg(unico);
        pruebas::EscribirArchivo(bandeja + QLatin1Char('/') + nombre, mensaje);
    }
    QString Filas(const QString& sql) {
        return Ejecutar(QStringLiteral(RUTA_SQL), {QStringLiteral("GESTION"), QStringLiteral("-e"), sql}, datos, correo)
            .salida;
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

TEST_F(Programa, SinPantallaLaRecepcionDesatendidaFuncionaYLaVentanaNo) {
    Entregar(QStringLiteral("ventas@x.test"), "From: a@x.test\r\nSubject: sin pantalla\r\n\r\ncuerpo\r\n");
    const Resultado r = Recepcion({QStringLiteral("--desatendido"), QStringLiteral("--recibir"), QStringLiteral("ventas@x.test"),
                                   QStringLiteral("@DbName=GESTION;@Usuario=ANA;")}, false);
    EXPECT_EQ(r.codigo, 0) << r.errores.toStdString();
    EXPECT_EQ(Filas(QStringLiteral("SELECT ASUNTO FROM V_MA_EMAILMOV")), QStringLiteral("ASUNTO\nsin pantalla\n"));

    const Resultado ventana = Recepcion({QStringLiteral("@DbName=GESTION;")}, false);
    EXPECT_EQ(ventana.codigo, 1);
    EXPECT_EQ(ventana.errores.count(QLatin1Char('\n')), 1) << ventana.errores.toStdString();
    EXPECT_TRUE(ventana.errores.contains(QStringLiteral("no hay pantalla"))) << ventana.errores.toStdString();
}

TEST_F(Programa, UnaOpcionNoEsElValorDeOtra) {
    const QList<QStringList> casos{
        {QStringLiteral("--recibir"), QStringLiteral("--desatendido"), QStringLiteral("@DbName=GESTION;")},
        {QStringLiteral("--desatendido"), QStringLiteral("--datos"), QStringLiteral("--recibir"), QStringLiteral("x")},
        {QStringLiteral("--desatendido"), QStringLiteral("--correo"), QStringLiteral("--datos"), QStringLiteral("x")},
    };
    for (const QStringList& args : casos) {
        const Resultado r = Recepcion(args);
        EXPECT_EQ(r.codigo, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.errores.contains(QStringLiteral("necesita un valor, pero le sigue la opción"))) << r.errores.toStdString();
    }
    // Nothing was opened, so nothing was created.
    EXPECT_FALSE(QFileInfo::exists(datos));
}

TEST_F(Programa, UnaBaseIntegradaNuevaSeAnuncia) {
    const QStringList args{QStringLiteral("--desatendido"), QStringLiteral("--recibir"), QStringLiteral("ventas@x.test"),
                           QStringLiteral("@DbName=GESTOIN;")};
    Entregar(QStringLiteral("ventas@x.test"), "From: a@x.test\r\nSubject: hola\r\n\r\ncuerpo\r\n");
    const Resultado r = Recepcion(args);
    const QString archivo = datos + QStringLiteral("/GESTOIN.db");
    EXPECT_EQ(r.errores.count(QStringLiteral("Base de datos integrada nueva: no existía y se ha creado en ") + archivo), 1)
        << r.errores.toStdString();
    const QString log = QString::fromUtf8(pruebas::LeerArchivo(dir.filePath(QStringLiteral("CVERR.LOG"))));
    EXPECT_TRUE(log.contains(archivo)) << log.toStdString();
    // Once made, it is opened without a word.
    EXPECT_FALSE(Recepcion(args).errores.contains(QStringLiteral("Base de datos integrada nueva: no existía y se ha creado en ") + archivo));
}

TEST_F(Programa, RecepcionSqlSoloAbreUnaBaseQueExiste) {
    const auto sql = [&](const QStringList& args) { return Ejecutar(QStringLiteral(RUTA_SQL), args, datos, correo); };
    for (const char* ayuda : {"-h", "--help"}) {
        const Resultado r = sql({QString::fromLatin1(ayuda)});
        EXPECT_EQ(r.codigo, 0);
        EXPECT_TRUE(r.salida.startsWith(QStringLiteral("Uso: recepcion-sql"))) << r.salida.toStdString();
    }
    const Resultado falta = sql({QStringLiteral("GESTOIN"), QStringLiteral("-e"), QStringLiteral("select count(*) from V_MA_EMAILMOV")});
    EXPECT_EQ(falta.codigo, 1);
    EXPECT_TRUE(falta.errores.contains(QStringLiteral("no existe"))) << falta.errores.toStdString();
    EXPECT_TRUE(falta.salida.isEmpty());
    EXPECT_EQ(sql({QStringLiteral("--datos"), QStringLiteral("--crear"), QStringLiteral("GESTION")}).codigo, 2);
    EXPECT_FALSE(QFileInfo::exists(datos));  // nothing created, not even the folder

    const Resultado crear = sql({QStringLiteral("--crear"), QStringLiteral("GESTION"), QStringLiteral("-e"), QStringLiteral("SELECT COUNT(*) AS n FROM V_MA_EMAILMOV")});
    EXPECT_EQ(crear.codigo, 0) << crear.errores.toStdString();
    EXPECT_EQ(crear.salida, QStringLiteral("n\n0\n"));
    EXPECT_TRUE(QFileInfo::exists(datos + QStringLiteral("/GESTION.db")));
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

// The exit status of an unattended reception, one case per row. A message
// whose attachment cannot be saved gives 3 on each of its three attempts and
// while set aside; --reintentar releases it.
TEST_F(Programa, CodigosDeSalidaDeLaRecepcionDesatendida) {
    const QString adjuntos = dir.filePath(QStringLiteral("adjuntos"));
    QDir().mkpath(adjuntos);
    const Resultado ajuste = Ejecutar(
        QStringLiteral(RUTA_SQL),
        {QStringLiteral("--crear"), QStringLiteral("GESTION"), QStringLiteral("-e"),
         QStringLiteral("INSERT INTO TA_CONFIGURACION (Grupo,Clave,Valor,ValorAux) VALUES "
                        "('DATOS','EMAIL_CARPETAADJUNTOS','%1/','')").arg(adjuntos)},
        datos, correo);
    ASSERT_EQ(ajuste.codigo, 0) << ajuste.errores.toStdString();
    const QString cuenta = QStringLiteral("ventas@x.test");
    Entregar(cuenta, "From: a@x.test\r\nSubject: con adjunto\r\nMIME-Version: 1.0\r\n"
                     "Content-Type: multipart/mixed; boundary=\"B\"\r\n\r\n--B\r\nContent-Type: text/plain\r\n\r\nhola\r\n"
                     "--B\r\nContent-Type: text/plain\r\nContent-Disposition: attachment; filename=\"a.txt\"\r\n\r\nuno\r\n--B--\r\n");
    const QString entrada = platform::mail::Aplicacion(correo)
                                .GetNamespace(QStringLiteral("MAPI"))
                                .Folders(cuenta)
                                .Folders(QStringLiteral("Bandeja de entrada"))
                                .Items()
                                .Item(1)
                                .EntryID();
    const QString bloqueo = adjuntos + QLatin1Char('/') + entrada;
    const auto recibir = [&](const QString& c, const QStringList& mas = {}) {
        return Recepcion(mas + QStringList{QStringLiteral("--desatendido"), QStringLiteral("--recibir"), c,
                                           QStringLiteral("@DbName=GESTION;@Usuario=ANA;")});
    };
    struct Caso {
        const char* que;
        std::function<void()> antes;
        std::function<Resultado()> correr;
        int codigo;
        const char* enErrores;
    };
    const std::vector<Caso> casos{
        {"opción mal escrita", {}, [&] { return Recepcion({QStringLiteral("--recibir")}); }, 2, "Falta el valor"},
        {"cuenta sin bandeja: la importación se deja", {}, [&] { return recibir(QStringLiteral("nadie@x.test")); }, 1,
         "la importación no llegó al final"},
        {"adjunto que no se guarda, 1.º", [&] { pruebas::EscribirArchivo(bloqueo, "x"); }, [&] { return recibir(cuenta); }, 3,
         "mensajes sin importar: 1, apartados: 0"},
        {"2.º", {}, [&] { return recibir(cuenta); }, 3, "(intento 2 de 3)"},
        {"3.º: apartado", {}, [&] { return recibir(cuenta); }, 3, "apartado tras 3 intentos fallidos"},
        {"apartado: no se intenta", {}, [&] { return recibir(cuenta); }, 3, "mensajes sin importar: 0, apartados: 1"},
        {"liberado, sin el obstáculo", [&] { QFile::remove(bloqueo); },
         [&] { return recibir(cuenta, {QStringLiteral("--reintentar"), cuenta}); }, 0, "mensajes que vuelven a intentarse: 1"},
        {"nada nuevo", {}, [&] { return recibir(cuenta); }, 0, ""},
    };
    for (const Caso& caso : casos) {
        if (caso.antes) caso.antes();
        const Resultado r = caso.correr();
        EXPECT_EQ(r.codigo, caso.codigo) << caso.que << "\n" << r.errores.toStdString();
        EXPECT_TRUE(r.errores.contains(QString::fromUtf8(caso.enErrores))) << caso.que << "\n" << r.errores.toStdString();
    }
    EXPECT_EQ(Filas(QStringLiteral("SELECT ASUNTO FROM V_MA_EMAILMOV")), QStringLiteral("ASUNTO\ncon adjunto\n"));
    EXPECT_EQ(pruebas::LeerArchivo(bloqueo + QStringLiteral("/a.txt")).trimmed(), QByteArray("uno"));
    EXPECT_TRUE(QFileInfo::exists(datos + QStringLiteral("/estado.db")));
}
