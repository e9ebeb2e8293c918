#include "platform/runtime/Entorno.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <thread>

using namespace platform::runtime;

// Where the program writes: beside the executable only when it is a folder
// of its own (the build tree, a copied folder), else the user's data folder.
TEST(Entorno, CarpetaDelProgramaSegunDondeEsta) {
    QTemporaryDir dir;
    const QString datos = dir.filePath(QStringLiteral("datos"));
    pruebas::VariableEntorno xdg{"XDG_DATA_HOME", datos};
    const QString copiado = dir.filePath(QStringLiteral("copia"));
    const QString instalado = dir.filePath(QStringLiteral("prefijo/bin"));
    QDir().mkpath(copiado);
    QDir().mkpath(instalado);
    QDir().mkpath(dir.filePath(QStringLiteral("prefijo/share/recepcion-email")));
    const QString deUsuario = datos + QStringLiteral("/recepcion-email");
    const struct {
        QString ejecutable, esperada;
    } casos[] = {
        {copiado, copiado},
        {instalado, deUsuario},
        {dir.filePath(QStringLiteral("no-existe")), deUsuario},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(DecidirCarpetaAplicacion(c.ejecutable), c.esperada) << c.ejecutable.toStdString();
        EXPECT_EQ(CarpetaAplicacion(), c.esperada);
    }
    // Made at once: the window creates EMAIL/ inside it.
    EXPECT_TRUE(QFileInfo(deUsuario).isDir());
    EstablecerCarpetaAplicacion(QString());
}

// A loop that yields per item still answers its events, at most one interval late.
TEST(Entorno, DoEventsEspaciadoAtiendeUnaVezPorIntervalo) {
    int atendidos = 0;
    const auto encolar = [&] { QTimer::singleShot(0, [&] { ++atendidos; }); };
    DoEventsEspaciado doEvents(std::chrono::milliseconds(50));
    encolar();
    doEvents();  // the first call always yields
    EXPECT_EQ(atendidos, 1);
    encolar();
    doEvents();  // within the interval: left queued
    EXPECT_EQ(atendidos, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    doEvents();
    EXPECT_EQ(atendidos, 2);
}
