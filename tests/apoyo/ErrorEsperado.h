#pragma once
// What a test expects a call to raise.
#include "platform/runtime/ErrorSistema.h"

#include <gmock/gmock.h>

#include <functional>

namespace pruebas {

// The number of the error the call raised, 0 when it raised none.
inline long NumeroDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::runtime::ErrorSistema& e) {
        return e.Numero;
    }
    return 0;
}

// EXPECT_THAT([&] { ... }, LanzaError(55)): the call raises that number.
inline auto LanzaError(long numero) {
    return ::testing::Throws<platform::runtime::ErrorSistema>(
        ::testing::Field("Numero", &platform::runtime::ErrorSistema::Numero, numero));
}

}  // namespace pruebas
