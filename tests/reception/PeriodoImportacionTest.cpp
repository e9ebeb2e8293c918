// The period of the import when reading its setting fails.
#include "ImportacionPrueba.h"
#include "ConexionPrueba.h"
#include "platform/db/Motores.h"

using pruebas::Importacion;

// A failure that escapes the reading of the setting is put to the operator;
// on Ignore the default period still applies, so the period's mail comes in
// and older mail stays out.
TEST_F(Importacion, FalloAlLeerElAjusteDejaElPeriodoPorDefecto) {
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("hoy"), QStringLiteral("a@x.test"), QStringLiteral("1")),
                    ahora.addSecs(-10));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("hace 40 dias"), QStringLiteral("a@x.test"), QStringLiteral("2")),
                    ahora.addDays(-40));
    auto simulada = std::make_unique<pruebas::ConexionPrueba>(
        platform::db::AbrirConexion({QString(), QStringLiteral("GESTION")}));
    simulada->sustituto = [](const QString& sql) -> std::unique_ptr<platform::db::Cursor> {
        if (sql.startsWith(QStringLiteral("SELECT VALOR")) && sql.contains(QStringLiteral("ACTUALIZA_OUTLOOK")))
            throw platform::runtime::ErrorSistema{3021, QStringLiteral("lectura rota"), QStringLiteral("prueba")};
        return nullptr;
    };
    common::Datos().EstablecerConexion(std::move(simulada));
    // The reading's own report raises again, so the failure reaches the import.
    int preguntas = 0;
    prompts->AlPreguntar([&](const platform::ui::Pregunta&) -> int {
        if (++preguntas == 1)
            throw platform::runtime::ErrorSistema{3021, QStringLiteral("lectura rota"), QStringLiteral("prueba")};
        return platform::ui::Respuesta::Ignore;
    });
    Importar();
    ASSERT_EQ(Filas().size(), 1);
    EXPECT_EQ(Filas()[0][QStringLiteral("ASUNTO")], QStringLiteral("hoy"));
    EXPECT_EQ(preguntas, 2);
}
