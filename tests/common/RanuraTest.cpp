#include "common/Ranura.h"

#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"
#include "ApoyoVentana.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace platform::runtime;
namespace ui = platform::ui;

TEST(Ranura, LoQueEscapaSeMuestraYNoSale) {
    const struct {
        const char* nombre;
        std::function<void()> cuerpo;
        QString mostrado;  // empty: nothing shown
    } casos[] = {
        {"sin error", [] {}, {}},
        {"error del sistema",
         [] { Lanzar(75, QStringLiteral("Sin acceso"), QStringLiteral("Importar")); },
         QStringLiteral("Error 75: Sin acceso\r\nOrigen: Importar")},
        {"excepción ajena", [] { throw std::runtime_error("roto"); },
         QStringLiteral("Error 51: roto")},
        // Its own body, apart from any runner under way: a move with no
        // runner of its own is an error shown, not an unwinding of the caller.
        {"movimiento sin su procedimiento", [] { SalirDelProcedimiento(); },
         QStringLiteral("Error 5: Llamada a procedimiento o argumento no válidos\r\n"
                        "Origen: SalirDelProcedimiento")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        pruebas::PromptsGuionados prompts;
        QStringList hechos;
        // Run from a step, as a slot runs from a prompt's event loop.
        EXPECT_TRUE(EjecutarPasos({}, {
            [&] { common::EjecutarRanura(c.cuerpo); },
            [&] { hechos << QStringLiteral("sigue"); },
        }));
        EXPECT_EQ(hechos, QStringList{QStringLiteral("sigue")});
        if (c.mostrado.isEmpty()) {
            EXPECT_TRUE(prompts->Preguntas().isEmpty());
        } else {
            ASSERT_EQ(prompts->Preguntas().size(), 1);
            EXPECT_EQ(prompts->Preguntas()[0].texto, c.mostrado);
            EXPECT_EQ(prompts->Preguntas()[0].estilo,
                      ui::Estilo::AbortRetryIgnore + ui::Estilo::Critical);
        }
    }
}

TEST(Ranura, UnFalloAlMostrarTampocoSaleYElFinDelProgramaPasa) {
    struct Roto : ui::Respondedor {
        int Responder(const ui::Pregunta&) override { throw std::runtime_error("sin pantalla"); }
    };
    const auto anterior = ui::EstablecerRespondedor(std::make_shared<Roto>());
    EXPECT_NO_THROW(common::EjecutarRanura([] { Lanzar(13); }));
    EXPECT_THROW(common::EjecutarRanura([] { throw ProgramaFinalizado{1}; }), ProgramaFinalizado);
    // As a slot: the wrapped body is the same call.
    int veces = 0;
    const auto ranura = common::Ranura([&] { ++veces; Lanzar(13); });
    EXPECT_NO_THROW(ranura());
    EXPECT_EQ(veces, 1);
    ui::EstablecerRespondedor(anterior);
}
