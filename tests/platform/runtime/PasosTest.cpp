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

namespace {
Paso Anota(QStringList& hechos, const char* texto) {
    return [&hechos, texto] { hechos << QString::fromLatin1(texto); };
}
Paso Falla(long numero) {
    return [numero] { Lanzar(numero); };
}
Paso Sale() {
    return [] { SalirDelProcedimiento(); };
}
}  // namespace

TEST(Pasos, SalirBloqueYSiguienteElemento) {
    using Procedimiento = std::function<bool(QStringList&, const Manejador&)>;
    struct Caso {
        const char* nombre;
        QList<Accion> acciones;  // the handler's answers, in order
        Procedimiento procedimiento;
        bool completo;
        QString hechos;
        QList<long> vistos;
    };
    const Caso casos[] = {
        {"salir en un paso no pregunta y abandona", {},
         [](QStringList& h, const Manejador& m) {
             return EjecutarPasos(m, {Anota(h, "a"), Sale(), Anota(h, "b")});
         },
         false, QStringLiteral("a"), {}},
        {"salir en un bucle abandona el procedimiento", {},
         [](QStringList& h, const Manejador& m) {
             return EjecutarPasos(m, {[&] {
                 for (int i = 0; i < 3; ++i)
                     EjecutarPasosAnidados(m, {[&, i] { h << QString::number(i); },
                                               [i] { if (i == 1) SalirDelProcedimiento(); }});
             }, Anota(h, "despues")});
         },
         false, QStringLiteral("0 1"), {}},
        {"salir en un procedimiento llamado sigue en el que llama", {},
         [](QStringList& h, const Manejador& m) {
             const Paso llamado = [&] { EjecutarPasos(m, {Anota(h, "x"), Sale(), Anota(h, "y")}); };
             return EjecutarPasos(m, {llamado, Anota(h, "z")});
         },
         true, QStringLiteral("x z"), {}},
        {"bloque con la bandera baja se salta entero", {},
         [](QStringList& h, const Manejador& m) {
             bool bandera = false;
             return EjecutarPasos(m, {Si(bandera, {Anota(h, "a"), Falla(75)}), Anota(h, "b")});
         },
         true, QStringLiteral("b"), {}},
        {"la bandera se lee al llegar al bloque", {},
         [](QStringList& h, const Manejador& m) {
             bool bandera = false;
             return EjecutarPasos(m, {[&] { bandera = true; },
                                      Si(bandera, {Anota(h, "a"), Anota(h, "b")}),
                                      [&] { bandera = false; },
                                      Si(bandera, {Anota(h, "c")})});
         },
         true, QStringLiteral("a b"), {}},
        {"un paso del bloque que falla se salta solo", {Accion::Siguiente},
         [](QStringList& h, const Manejador& m) {
             bool bandera = true;
             return EjecutarPasos(m, {Si(bandera, {Anota(h, "a"), Falla(75), Anota(h, "b")}),
                                      Anota(h, "c")});
         },
         true, QStringLiteral("a b c"), {75}},
        {"reintentar en un bloque repite solo su paso", {Accion::Reintentar},
         [](QStringList& h, const Manejador& m) {
             bool bandera = true;
             int intentos = 0;
             const Paso falla_una_vez = [&] {
                 h << QStringLiteral("b");
                 if (intentos++ == 0) Lanzar(52);
             };
             return EjecutarPasos(m, {Si(bandera, {Anota(h, "a"), falla_una_vez, Anota(h, "c")})});
         },
         true, QStringLiteral("a b b c"), {52}},
        {"salir del manejador en un bloque abandona el procedimiento", {Accion::Salir},
         [](QStringList& h, const Manejador& m) {
             bool bandera = true;
             return EjecutarPasos(m, {Si(bandera, {Anota(h, "a"), Falla(13), Anota(h, "b")}),
                                      Anota(h, "c")});
         },
         false, QStringLiteral("a"), {13}},
        {"salir en un bloque abandona el procedimiento", {},
         [](QStringList& h, const Manejador& m) {
             bool bandera = true;
             return EjecutarPasos(m, {Si(bandera, {Anota(h, "a"), Sale(), Anota(h, "b")}),
                                      Anota(h, "c")});
         },
         false, QStringLiteral("a"), {}},
        {"siguiente elemento salta el resto de ese elemento", {},
         [](QStringList& h, const Manejador& m) {
             return EjecutarPasos(m, {[&] {
                 for (int i = 0; i < 4; ++i)
                     EjecutarPasosAnidados(m, {[i] { if (i % 2) SiguienteElemento(); },
                                               [&, i] { h << QString::number(i); }});
             }, Anota(h, "fin")});
         },
         true, QStringLiteral("0 2 fin"), {}},
        {"siguiente elemento desde un bloque del cuerpo", {},
         [](QStringList& h, const Manejador& m) {
             return EjecutarPasos(m, {[&] {
                 for (int i = 0; i < 3; ++i) {
                     bool impar = false;
                     EjecutarPasosAnidados(m, {[&] { impar = i % 2; },
                                               Si(impar, {[] { SiguienteElemento(); },
                                                          Anota(h, "no")}),
                                               [&] { h << QString::number(i); }});
                 }
             }});
         },
         true, QStringLiteral("0 2"), {}},
        {"siguiente elemento del bucle interior sigue en el exterior", {},
         [](QStringList& h, const Manejador& m) {
             return EjecutarPasos(m, {[&] {
                 for (int i = 0; i < 2; ++i)
                     EjecutarPasosAnidados(m, {[&] {
                         for (int j = 0; j < 2; ++j)
                             EjecutarPasosAnidados(m, {
                                 [j] { if (j == 0) SiguienteElemento(); },
                                 [&] { h << QStringLiteral("%1%2").arg(i).arg(j); },
                             });
                     }, [&] { h << QString::number(i); }});
             }});
         },
         true, QStringLiteral("01 0 11 1"), {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        QStringList hechos;
        Guion g{c.acciones, {}};
        EXPECT_EQ(c.procedimiento(hechos, g.manejador()), c.completo);
        EXPECT_EQ(hechos.join(QLatin1Char(' ')), c.hechos);
        EXPECT_EQ(g.vistos, c.vistos);
    }
}

namespace {
// The error a call raised, or number 0 when it raised none.
ErrorSistema Lanzado(const std::function<void()>& llamada) {
    try {
        llamada();
    } catch (const ErrorSistema& e) {
        return e;
    }
    return {};
}
}  // namespace

TEST(Pasos, UnMovimientoFueraDeSuSitioEsUnErrorSistema) {
    const bool bandera = true;
    const struct {
        const char* fuente;
        std::function<void()> llamada;
    } casos[] = {
        {"EjecutarPasosAnidados", [] { EjecutarPasosAnidados(IgnorarErrores(), {[] {}}); }},
        {"SalirDelProcedimiento", [] { SalirDelProcedimiento(); }},
        {"SiguienteElemento", [] { SiguienteElemento(); }},
        {"Si", [&] { Si(bandera, {[] {}})(); }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.fuente);
        // Outside any runner: the caller catches it.
        const ErrorSistema fuera = Lanzado(c.llamada);
        EXPECT_EQ(fuera.Numero, 5);
        EXPECT_EQ(fuera.Fuente, QString::fromLatin1(c.fuente));
        // In a step of a slot's body run apart from the runner under way:
        // the same error, and the runner goes on.
        QStringList hechos;
        long aparte = 0;
        EXPECT_TRUE(EjecutarPasos(IgnorarErrores(), {
            [&] {
                const PasosAparte ranura;
                aparte = Lanzado(c.llamada).Numero;
            },
            Anota(hechos, "sigue"),
        }));
        EXPECT_EQ(aparte, 5);
        EXPECT_EQ(hechos, QStringList{QStringLiteral("sigue")});
    }
    // Next item in a procedure that has no loop, or that a loop body called:
    // the handler of that procedure gets the error; the caller's loop is not skipped.
    QStringList hechos;
    Guion g{{Accion::Siguiente, Accion::Siguiente}, {}};
    EXPECT_TRUE(EjecutarPasos(g.manejador(), {
        [] { SiguienteElemento(); },
        [&] {
            EjecutarPasosAnidados(g.manejador(), {
                [&] { EjecutarPasos(g.manejador(), {[] { SiguienteElemento(); }}); },
                Anota(hechos, "cuerpo"),
            });
        },
    }));
    EXPECT_EQ(g.vistos, (QList<long>{5, 5}));
    EXPECT_EQ(hechos, QStringList{QStringLiteral("cuerpo")});
}
