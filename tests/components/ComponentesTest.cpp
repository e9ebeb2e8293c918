#include "components/Ini.h"
#include "components/Utilidades.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

using namespace components;

TEST(Utilidades, EncriptarEsReversibleYDeUnaLinea) {
    Utilidades u;
    for (const QString& t : {QStringLiteral("Corvana"), QStringLiteral("pardelo"), QString(),
                             QStringLiteral("ñ|=;\r\nx'\"")}) {
        const QString e = u.Encriptar(t);
        EXPECT_FALSE(e.contains(QLatin1Char('\n')) || e.contains(QLatin1Char('\r')));
        if (!t.isEmpty()) {
            EXPECT_NE(e, t);
        }
        EXPECT_EQ(u.Desencriptar(e), t);
    }
    EXPECT_EQ(u.Desencriptar(QStringLiteral("texto plano")), QStringLiteral("texto plano"));
}

TEST(Utilidades, TextosYNumeros) {
    Utilidades u;
    EXPECT_EQ(u.NoNulo(QVariant()), QString());
    EXPECT_EQ(u.NoNulo(QStringLiteral(" a ")), QStringLiteral(" a "));
    EXPECT_EQ(u.Truncar(QStringLiteral("abcdef"), 3), QStringLiteral("abc"));
    EXPECT_EQ(u.CantidadPalabras(QStringLiteral("LEN")), 1);
    EXPECT_EQ(u.CantidadPalabras(QStringLiteral("Select TOP 1 *")), 4);
    EXPECT_EQ(u.QuitarCaracter(QStringLiteral("a=b=c"), QStringLiteral("=")), QStringLiteral("abc"));
    EXPECT_EQ(u.RutaConBarra(QStringLiteral("/tmp")), QStringLiteral("/tmp/"));
    EXPECT_EQ(u.RutaConBarra(QStringLiteral("/tmp/")), QStringLiteral("/tmp/"));
    EXPECT_EQ(u.RutaConBarra(QString()), QStringLiteral("/"));
    const std::pair<const char*, double> numeros[] = {
        {"12.34567", 12.3457}, {" 3,5", 3.5}, {"abc", 0}, {"-2", -2}, {"7kg", 7}, {"", 0}};
    for (const auto& [texto, valor] : numeros) EXPECT_DOUBLE_EQ(u.ValorNumero(QString::fromUtf8(texto)), valor) << texto;
}

TEST(Ini, SeccionesYClavesSinMayusculas) {
    const QString texto = QStringLiteral(
        "; comentario\r\n[Equipo|X]\r\nFlatToolbars = 0\r\n[EQUIPO|XBaseDeDatos]\r\n"
        "Servidor=srv=1\r\ndbname = \"GESTION\"\r\nsin igual\r\n[otra\r\nServidor=no\r\n");
    struct Caso { const char* seccion; const char* clave; bool encontrado; const char* valor; };
    const Caso casos[] = {
        {"equipo|x", "flattoolbars", true, "0"},
        {"equipo|xbasededatos", "SERVIDOR", true, "srv=1"},
        {"EQUIPO|XBASEDEDATOS", "DbName", true, "GESTION"},
        {"equipo|x", "Servidor", false, ""},
        {"nada", "Servidor", false, ""},
    };
    for (const Caso& c : casos) {
        bool encontrado = false;
        const QString v = Ini::BuscarEnTexto(texto, QString::fromUtf8(c.seccion), QString::fromUtf8(c.clave), encontrado);
        EXPECT_EQ(encontrado, c.encontrado) << c.seccion << " " << c.clave;
        EXPECT_EQ(v, QString::fromUtf8(c.valor));
    }
    bool e = false;
    Ini::BuscarEnTexto(QString(100000, QLatin1Char('[')), QStringLiteral("x"), QStringLiteral("y"), e);
    EXPECT_FALSE(e);
}
