// Test entry point for the layers that show windows and prompts: a real
// QApplication on the offscreen platform, prompts answered unattended
// unless a test scripts them, and no test ever exits.
#include "ApoyoVentana.h"
#include "Fijar.h"
#include "platform/ui/RespondedorDesatendido.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    pruebas::FijarEntorno();
    const auto temporal = pruebas::FijarTemporal();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pruebas::FijarFinalizador();
    platform::ui::EstablecerRespondedor(
        std::make_shared<platform::ui::RespondedorDesatendido>(false));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
