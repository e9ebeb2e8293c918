#include "platform/db/ComparacionTexto.h"

#include <gtest/gtest.h>

using namespace platform::db;

// The embedded engine's LIKE, as the product's server reads a pattern.
TEST(ComparacionTexto, LikeConCorchetesComoSqlServer) {
    struct Caso { const char* texto; const char* patron; bool coincide; };
    const Caso casos[] = {
        {"50% menos", "%[%]%", true},
        {"50 menos", "%[%]%", false},
        {"uno_dos", "uno[_]dos", true},
        {"unoXdos", "uno[_]dos", false},
        {"[Oferta]", "[[]oferta]", true},
        {"Oferta]", "[[]oferta]", false},
        {"Álvaro", "[a]lvaro", true},
        {"bravo", "[a-c]ravo", true},
        {"dravo", "[a-c]ravo", false},
        {"dravo", "[^a-c]ravo", true},
        {"bravo", "[^a-c]ravo", false},
        {"x-y", "x[-]y", true},
        {"a]b", "a[]]b", true},
        // A "[" that is never closed is an ordinary character.
        {"a[b", "a[b", true},
        {"a[b", "%[b", true},
        {"axb", "a[b", false},
        // Brackets and an escape character together.
        {"50%", "50!%", true},
        {"50%[", "50!%[[]", true},
        {"ALMACÉN central", "%almacen%", true},
        {"", "%", true},
        {"", "[%]", false},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(CoincideLike(QString::fromUtf8(c.texto), QString::fromUtf8(c.patron), QLatin1Char('!')), c.coincide)
            << c.texto << " LIKE " << c.patron;
}
