#include "reception/AdjuntosMensaje.h"

#include <gtest/gtest.h>

using reception::NombreLibre;
using reception::NombresUsados;

TEST(NombreLibre, NumeraDesdeDosYSaltaLosNombresYaDados) {
    NombresUsados usados;
    QStringList dados;
    for (const char* n : {"a.pdf", "A.PDF", "a (3).pdf", "a.pdf", "a.pdf", "sin punto", "sin punto", ".oculto", ".oculto"})
        dados << NombreLibre(QString::fromUtf8(n), usados);
    EXPECT_EQ(dados, (QStringList{QStringLiteral("a.pdf"), QStringLiteral("A (2).PDF"), QStringLiteral("a (3).pdf"),
                                  QStringLiteral("a (4).pdf"), QStringLiteral("a (5).pdf"), QStringLiteral("sin punto"),
                                  QStringLiteral("sin punto (2)"), QStringLiteral(".oculto"), QStringLiteral(".oculto (2)")}));
}
