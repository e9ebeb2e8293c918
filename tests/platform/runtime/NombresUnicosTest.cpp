#include "platform/runtime/NombresUnicos.h"

#include <gtest/gtest.h>

using platform::runtime::NombresUnicos;

TEST(NombresUnicos, NumeraDesdeDosYSaltaLosNombresYaDados) {
    NombresUnicos usados(255);
    QStringList dados;
    for (const char* n : {"a.pdf", "A.PDF", "a (3).pdf", "a.pdf", "a.pdf", "sin punto", "sin punto", ".oculto", ".oculto"})
        dados << usados.Libre(QString::fromUtf8(n));
    EXPECT_EQ(dados, (QStringList{QStringLiteral("a.pdf"), QStringLiteral("A (2).PDF"), QStringLiteral("a (3).pdf"),
                                  QStringLiteral("a (4).pdf"), QStringLiteral("a (5).pdf"), QStringLiteral("sin punto"),
                                  QStringLiteral("sin punto (2)"), QStringLiteral(".oculto"), QStringLiteral(".oculto (2)")}));
}

// A name already at the limit keeps its number and extension whole: cutting
// the number off would give the same name again and again.
TEST(NombresUnicos, UnNombreEnElLimiteAcortaLaRaizNoElNumero) {
    NombresUnicos usados(200);
    const QString largo = QString(65, QChar(0x20AC)) + QStringLiteral(".pdf");  // 199 bytes
    const QString par = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(48) + QStringLiteral("x.txt");  // 197 bytes
    QSet<QString> dados;
    for (int i = 0; i < 12; ++i) {
        for (const QString& nombre : {largo, par}) {
            const QString libre = usados.Libre(nombre);
            EXPECT_LE(libre.toUtf8().size(), 200) << libre.toStdString();
            EXPECT_FALSE(libre.back().isHighSurrogate());
            EXPECT_TRUE(libre.isValidUtf16()) << libre.toStdString();
            dados.insert(libre);
        }
    }
    EXPECT_EQ(dados.size(), 24);
    EXPECT_TRUE(dados.contains(QString(64, QChar(0x20AC)) + QStringLiteral(" (2).pdf")));
    EXPECT_TRUE(dados.contains(QString(63, QChar(0x20AC)) + QStringLiteral(" (12).pdf")));
}

TEST(NombresUnicos, MuchosNombresIgualesDanNumerosSeguidos) {
    NombresUnicos usados(255);
    QString ultimo;
    for (int i = 0; i < 20000; ++i) ultimo = usados.Libre(QStringLiteral("foto.jpg"));
    EXPECT_EQ(ultimo, QStringLiteral("foto (20000).jpg"));
}
