#include "platform/runtime/Pasos.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace platform::runtime;

namespace {
// A handler that answers from a list and records the numbers it saw.
struct Guion {
    QList<Accion> acciones;
    QList<long> vistos;
    Manejador manejador() {
        return [this](const ErrorSistema& e) {
            vistos.append(e.Numero);
            return acciones.isEmpty() ? Accion::Salir : acciones.takeFirst();
        };
    }
};
}  // namespace

TEST(Pasos, ReintentarRepiteSoloElPasoQueFalla) {
    QStringList hechos;
    int intentos = 0;
    Guion g{{Accion::Reintentar}, {}};
    const bool completo = EjecutarPasos(g.manejador(), {
        [&] { hechos << QStringLiteral("a"); },
        [&] { hechos << QStringLiteral("b"); if (intentos++ == 0) Lanzar(75); },
        [&] { hechos << QStringLiteral("c"); },
    });
    EXPECT_TRUE(completo);
    EXPECT_EQ(hechos, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("b"),
                                   QStringLiteral("c")}));
    EXPECT_EQ(g.vistos, QList<long>{75});
}

TEST(Pasos, SiguienteSaltaYSalirAbandona) {
    QStringList hechos;
    Guion g{{Accion::Siguiente, Accion::Salir}, {}};
    const bool completo = EjecutarPasos(g.manejador(), {
        [&] { Lanzar(5); },
        [&] { hechos << QStringLiteral("b"); },
        [&] { Lanzar(52); },
        [&] { hechos << QStringLiteral("d"); },
    });
    EXPECT_FALSE(completo);
    EXPECT_EQ(hechos, QStringList{QStringLiteral("b")});
}

TEST(Pasos, SalirEnUnBucleAnidadoAbandonaElProcedimiento) {
    QStringList hechos;
    Guion g{{Accion::Siguiente, Accion::Salir}, {}};
    const bool completo = EjecutarPasos(g.manejador(), {
        [&] {
            for (int i = 0; i < 5; ++i) {
                EjecutarPasosAnidados(g.manejador(), {
                    [&] { if (i == 1 || i == 3) Lanzar(13); },
                    [&] { hechos << QString::number(i); },
                });
            }
        },
        [&] { hechos << QStringLiteral("despues"); },
    });
    EXPECT_FALSE(completo);
    // i=1 skips its step and goes on; i=3 leaves the whole procedure.
    EXPECT_EQ(hechos, (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}));
}

TEST(Pasos, UnProcedimientoLlamadoNoAbandonaAlQueLlama) {
    QStringList hechos;
    auto interior = [&] {
        EjecutarPasos(IgnorarErrores(), {[&] {
            EjecutarPasosAnidados(ReglaInicio(), {[&] { Lanzar(91); }});
        }});
        // The nested leave ends the inner procedure only.
    };
    EXPECT_TRUE(EjecutarPasos(ReglaInicio(), {interior, [&] { hechos << QStringLiteral("sigue"); }}));
    EXPECT_EQ(hechos, QStringList{QStringLiteral("sigue")});
}

TEST(Pasos, ManejadoresDeLaCasa) {
    struct Caso { long numero; int respuesta; Accion operador; Accion inicio; };
    const Caso casos[] = {
        {5, 4, Accion::Reintentar, Accion::Siguiente},
        {52, 5, Accion::Siguiente, Accion::Salir},
        {75, 3, Accion::Salir, Accion::Salir},
        {3704, 1, Accion::Salir, Accion::Salir},
    };
    for (const Caso& c : casos) {
        const ErrorSistema e{c.numero, {}, {}};
        EXPECT_EQ(PreguntarOperador([&](const ErrorSistema&) { return c.respuesta; })(e), c.operador);
        EXPECT_EQ(ReglaInicio()(e), c.inicio);
        EXPECT_EQ(IgnorarErrores()(e), Accion::Siguiente);
    }
}

TEST(Pasos, ExcepcionesAjenasSeConviertenEnErrorSistema) {
    long visto = 0;
    EjecutarPasos([&](const ErrorSistema& e) { visto = e.Numero; return Accion::Siguiente; },
                  {[] { throw std::runtime_error("x"); }});
    EXPECT_EQ(visto, 51);
}
