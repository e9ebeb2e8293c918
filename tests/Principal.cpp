// Test entry point: a real QApplication on the offscreen platform, prompts
// answered unattended unless a test scripts them, and no test ever exits.
#include "ApoyoPruebas.h"
#include "platform/runtime/Entorno.h"
#include "platform/ui/RespondedorDesatendido.h"

#include <QApplication>

#include <ctime>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Every test program runs in the same language, time zone and platform.
    qputenv("LANG", "C.UTF-8");
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("TZ", "Europe/Madrid");
    tzset();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::runtime::EstablecerFinalizador(
        [](int codigo) { throw pruebas::ProgramaFinalizado{codigo}; });
    platform::ui::EstablecerRespondedor(
        std::make_shared<platform::ui::RespondedorDesatendido>(false));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
