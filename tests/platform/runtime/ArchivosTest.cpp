#include "platform/runtime/Archivos.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/ErrorSistema.h"
#include "ApoyoPruebas.h"
#include "ErrorEsperado.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace platform::runtime;

using pruebas::NumeroDe;

TEST(Archivos, ErroresDelRuntimeAntiguo) {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("traza.txt"));
    const int n = Archivos::Libre();
    Archivos::Abrir(n, ruta, Archivos::Modo::Output);
    // Second open of a path still open, under another number: 55.
    EXPECT_EQ(NumeroDe([&] { Archivos::Abrir(Archivos::Libre(), ruta, Archivos::Modo::Append); }), 55);
    // Same number again: 55.
    EXPECT_EQ(NumeroDe([&] { Archivos::Abrir(n, dir.filePath(QStringLiteral("otro")), Archivos::Modo::Output); }), 55);
    Archivos::EscribirLinea(n, QStringLiteral("línea"));
    Archivos::Cerrar(n);
    // Writing to a closed or never-opened number: 52.
    EXPECT_EQ(NumeroDe([&] { Archivos::EscribirLinea(n, QStringLiteral("x")); }), 52);
    EXPECT_EQ(NumeroDe([&] { Archivos::EscribirLinea(200, QStringLiteral("x")); }), 52);
    EXPECT_EQ(pruebas::LeerArchivo(ruta), QByteArray("l\xc3\xadnea\r\n"));
    // A folder that does not exist cannot hold the file: 75.
    EXPECT_EQ(NumeroDe([&] { Archivos::Abrir(n, dir.filePath(QStringLiteral("no/hay.txt")), Archivos::Modo::Output); }), 75);
    Archivos::Cerrar(1234);  // accepted
}

TEST(Archivos, DemasiadosArchivosDa67) {
    QTemporaryDir dir;
    QList<int> abiertos;
    long error = 0;
    try {
        for (int i = 0; i < 300; ++i) {
            const int n = Archivos::Libre();
            Archivos::Abrir(n, dir.filePath(QString::number(i)), Archivos::Modo::Output);
            abiertos << n;
        }
    } catch (const ErrorSistema& e) { error = e.Numero; }
    EXPECT_EQ(error, 67);
    for (int n : abiertos) Archivos::Cerrar(n);
}

TEST(Entorno, CarpetasComoMkDirYDir) {
    QTemporaryDir dir;
    const QString nueva = dir.filePath(QStringLiteral("EMAIL/"));
    EXPECT_FALSE(ExisteRuta(nueva));
    CrearCarpeta(nueva);
    EXPECT_TRUE(ExisteRuta(nueva));
    EXPECT_EQ(NumeroDe([&] { CrearCarpeta(nueva); }), 75);
    EXPECT_EQ(NumeroDe([&] { CrearCarpeta(dir.filePath(QStringLiteral("a/b/"))); }), 76);
    // A path under a first folder that does not exist is unreachable: 52.
    EXPECT_EQ(NumeroDe([&] { ExisteRuta(QStringLiteral("/unidad-que-no-existe/adjuntos/")); }), 52);
}

TEST(Entorno, FinalizarProgramaSeInterceptaEnPruebas) {
    int codigo = -1;
    try { FinalizarPrograma(3); } catch (const pruebas::ProgramaFinalizado& f) { codigo = f.codigo; }
    EXPECT_EQ(codigo, 3);
}
