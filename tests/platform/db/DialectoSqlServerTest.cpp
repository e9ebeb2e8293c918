#include "platform/db/DialectoSqlServer.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

using namespace platform::db;

TEST(DialectoSqlServer, Traducciones) {
    struct Caso { const char* entrada; QStringList salida; };
    const Caso casos[] = {
        {"SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'X'",
         {QStringLiteral("SELECT VALOR, valoraux FROM TA_CONFIGURACION   WHERE CLAVE = 'X'")}},
        {"Select TOP 1 * from Control_Acceso  with(nolock) ",
         {QStringLiteral("Select  * from Control_Acceso    LIMIT 1")}},
        {"select a from (select top (2) b from t) x",
         {QStringLiteral("select a from (select  b from t LIMIT 2) x")}},
        {"BEGIN TRANSACTION \r\r\rS1\rS2\r",
         {QStringLiteral("BEGIN"), QStringLiteral("S1"), QStringLiteral("S2")}},
        {"COMMIT TRANSACTION", {QStringLiteral("COMMIT")}},
        {"rollback tran", {QStringLiteral("ROLLBACK")}},
        {"INSERT INTO t VALUES (N'a;b', 'it''s with(nolock)\nTOP 3')",
         {QStringLiteral("INSERT INTO t VALUES ('a;b', 'it''s with(nolock)\nTOP 3')")}},
        {"  ;; \n ", {}},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(TraducirLote(QString::fromUtf8(c.entrada)).join(QStringLiteral("|")).toStdString(),
                  c.salida.join(QStringLiteral("|")).toStdString()) << c.entrada;
}

TEST(DialectoSqlServer, LikeConCorchetesParaMariaDb) {
    struct Caso { const char* entrada; const char* salida; };
    const Caso casos[] = {
        {"SELECT * FROM t WHERE d LIKE '%[%]%'", "SELECT * FROM t WHERE d LIKE '%\\%%' ESCAPE '\\'"},
        {"SELECT * FROM t WHERE d like N'[_]x[[]y''z'", "SELECT * FROM t WHERE d like '\\_x[y''z' ESCAPE '\\'"},
        {"SELECT * FROM t WHERE d NOT LIKE 'C:\\[%]'", "SELECT * FROM t WHERE d NOT LIKE 'C:\\\\\\%' ESCAPE '\\'"},
        {"SELECT * FROM t WHERE d LIKE '[%]!%' ESCAPE '!'", "SELECT * FROM t WHERE d LIKE '!%!%' ESCAPE '!'"},
        {"SELECT * FROM t WHERE d LIKE 'a\\%'", "SELECT * FROM t WHERE d LIKE 'a\\\\%' ESCAPE '\\'"},
        // Nothing to change, or not a literal: as written.
        {"SELECT * FROM t WHERE d LIKE 'a%'", "SELECT * FROM t WHERE d LIKE 'a%'"},
        {"SELECT * FROM t WHERE d LIKE 'a\\%' ESCAPE '!'", "SELECT * FROM t WHERE d LIKE 'a\\%' ESCAPE '!'"},
        {"SELECT * FROM t WHERE d LIKE e", "SELECT * FROM t WHERE d LIKE e"},
        // Wider classes have no equivalent and stay.
        {"SELECT * FROM t WHERE d LIKE '[a-c]%'", "SELECT * FROM t WHERE d LIKE '[a-c]%' ESCAPE '\\'"},
        // Only LIKE patterns change.
        {"INSERT INTO t VALUES ('[%]')", "INSERT INTO t VALUES ('[%]')"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(TraducirLote(QString::fromUtf8(c.entrada), Destino::MariaDb).join(QStringLiteral("|")).toStdString(),
                  c.salida) << c.entrada;
        // The embedded engine reads the brackets itself.
        if (QByteArray(c.entrada).contains("[%]")) {
            EXPECT_TRUE(TraducirLote(QString::fromUtf8(c.entrada)).join(QString()).contains(QStringLiteral("[%]")));
        }
    }
}
