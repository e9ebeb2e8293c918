// Test entry point for the layers without a window: QCoreApplication, and
// no test ever exits.
#include "ApoyoPruebas.h"
#include "Fijar.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    pruebas::FijarEntorno();
    const auto temporal = pruebas::FijarTemporal();
    QCoreApplication app(argc, argv);
    pruebas::FijarFinalizador();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
