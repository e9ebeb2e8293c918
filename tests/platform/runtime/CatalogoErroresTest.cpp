#include "platform/runtime/ErrorSistema.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace platform::runtime;

// A number listed twice would give one of its names the other's text.
TEST(CatalogoErrores, CadaNumeroUnaVezConSuTexto) {
    QSet<long> vistos;
    for (const NumeroError* e : Catalogo) {
        EXPECT_FALSE(vistos.contains(e->numero)) << e->numero;
        vistos.insert(e->numero);
        EXPECT_FALSE(e->descripcion.isEmpty()) << e->numero;
        EXPECT_EQ(DescripcionError(e->numero), e->descripcion.toString()) << e->numero;
    }
}

TEST(CatalogoErrores, LanzarSinTextoDaElDelCatalogo) {
    try {
        Lanzar(Err::ArchivoYaAbierto);
        FAIL();
    } catch (const ErrorSistema& e) {
        EXPECT_EQ(e.Numero, 55);
        EXPECT_EQ(e.Descripcion, QStringLiteral("El archivo ya está abierto"));
    }
    EXPECT_EQ(DescripcionError(0), QString());
    EXPECT_EQ(DescripcionError(12345), QStringLiteral("Error definido por la aplicación o el objeto"));
    EXPECT_EQ(DescripcionError(Err::UsoNoValidoDeNull), QStringLiteral("Uso no válido de Null"));
}
