#include "platform/ui/MsgBox.h"
#include "platform/ui/RespondedorDesatendido.h"
#include "ApoyoVentana.h"

#include <gtest/gtest.h>

using namespace platform::ui;

TEST(MsgBox, GuionRespondeEnOrdenYRegistra) {
    pruebas::PromptsGuionados guion;
    guion->Encolar(Respuesta::Retry);
    EXPECT_EQ(MsgBox(QStringLiteral("uno"), Estilo::AbortRetryIgnore + Estilo::Critical,
                     QStringLiteral("T")), Respuesta::Retry);
    // Queue empty: the unattended policy answers.
    EXPECT_EQ(MsgBox(QStringLiteral("dos"), Estilo::AbortRetryIgnore), Respuesta::Abort);
    ASSERT_EQ(guion->Preguntas().size(), 2);
    EXPECT_EQ(guion->Preguntas()[0].texto, QStringLiteral("uno"));
    EXPECT_EQ(guion->Preguntas()[0].estilo, 18);
    EXPECT_EQ(guion->Preguntas()[0].titulo, QStringLiteral("T"));
    EXPECT_FALSE(guion->Preguntas()[1].titulo.isEmpty());  // application name
}

TEST(MsgBox, PoliticaDesatendida) {
    RespondedorDesatendido r(false);
    struct Caso { int estilo; int respuesta; };
    const Caso casos[] = {{0, 1}, {64, 1}, {1, 2}, {2, 3}, {18, 3}, {3, 2}, {4, 7}, {5, 2}};
    for (const Caso& c : casos) EXPECT_EQ(r.Responder({QString(), c.estilo, QString()}), c.respuesta) << c.estilo;
}
