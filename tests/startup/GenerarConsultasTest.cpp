#include "startup/GenerarConsultas.h"
#include "common/Contexto.h"
#include "platform/runtime/ErrorSistema.h"
#include "ApoyoPruebas.h"
#include "ErrorEsperado.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace startup;

namespace {
QByteArray Relleno(const char* texto, int ancho) {
    QByteArray b(texto);
    return b + QByteArray(ancho - b.size(), ' ');
}
}  // namespace

TEST(GenerarConsultas, OnceRegistrosDe1202Bytes) {
    QTemporaryDir dir;
    common::ReiniciarContexto();
    const QString ruta = dir.filePath(QStringLiteral("consultas.crv"));
    common::Consultas().SetRutaCatalogo(ruta);
    GenerarConsultas();

    const QByteArray archivo = pruebas::LeerArchivo(ruta);
    ASSERT_EQ(archivo.size(), 13222);
    const QByteArray esperado = pruebas::Esperado(QStringLiteral("consultas.crv"));
    ASSERT_EQ(esperado.size(), 13222);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(archivo.mid(i * 1202, 1202), esperado.mid(i * 1202, 1202)) << "registro " << i + 1;
    // Also eleven text lines of 1200 characters.
    const QList<QByteArray> lineas = archivo.split('\n');
    ASSERT_EQ(lineas.size(), 12);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(lineas[i].size(), 1201);  // with its CR
    EXPECT_EQ(archivo.mid(8 * 1202 + 100, 100), Relleno("V_TA_Tareas", 100));
    common::ReiniciarContexto();
}

TEST(GenerarConsultas, TextoEnPaginaAnsiRellenadoOCortado) {
    const QByteArray r = RegistroConsulta(QStringLiteral("  Área €  "), QStringLiteral(" Ω ") + QString(120, QLatin1Char('t')),
                                          QStringLiteral(" |Año| "));
    ASSERT_EQ(r.size(), 1202);
    EXPECT_EQ(r.left(7), QByteArray("\xC1rea \x80 "));   // trimmed, Windows-1252
    EXPECT_EQ(r.mid(100, 4), QByteArray(" ? t"));         // the table name is not trimmed
    EXPECT_EQ(r.mid(100, 100).count('t'), 97);            // cut at its width
    EXPECT_EQ(r.mid(200, 6), QByteArray("|A\xF1o| "));
    EXPECT_EQ(r.right(2), QByteArray("\r\n"));
}

TEST(GenerarConsultas, CarpetaInexistenteFallaCon75) {
    QTemporaryDir dir;
    common::ReiniciarContexto();
    common::Consultas().SetRutaCatalogo(dir.filePath(QStringLiteral("no/existe/consultas.crv")));
    EXPECT_THAT([] { GenerarConsultas(); }, pruebas::LanzaError(75));
    common::ReiniciarContexto();
}
