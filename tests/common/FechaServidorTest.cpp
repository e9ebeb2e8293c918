#include "common/FechaServidor.h"
#include "BasePrueba.h"

using namespace common;
using pruebas::CursorFijo;

namespace {
class Fecha : public pruebas::BaseConectada {
protected:
    // The server's query answered with the given rows instead.
    void ServidorResponde(QList<QList<platform::db::Valor>> filas) {
        negocio->sustituto = [filas](const QString& sql) -> std::unique_ptr<platform::db::Cursor> {
            if (sql != QStringLiteral("select getDate() as fecha")) return nullptr;
            return std::make_unique<CursorFijo>(QStringList{QStringLiteral("fecha")}, filas);
        };
    }
};
}  // namespace

TEST_F(Fecha, LaDelServidorSinFraccionesDeSegundo) {
    ServidorResponde({{QStringLiteral("2026-03-04T05:06:07.891")}});
    EXPECT_EQ(FechaServidor(), QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
}

TEST_F(Fecha, LaBaseIntegradaDaLaHoraLocal) {
    // The engine's getdate() reads the clock the test fixed...
    EXPECT_EQ(FechaServidor(), pruebas::MomentoFijo());
    EXPECT_EQ(negocio->consultas, QStringList{QStringLiteral("select getDate() as fecha")});
    // ...and the system's when none is fixed.
    EstablecerReloj({});
    const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
    const QDateTime f = FechaServidor();
    EXPECT_GE(f, antes);
    EXPECT_LE(f, QDateTime::currentDateTime());
    EXPECT_EQ(f.time().msec(), 0);
}

TEST_F(Fecha, SinFilaSegunUtilizarFechaDia) {
    const struct {
        bool utilizarFechaDia;
        const char* fechaOperHasta;  // nullptr: no row
        QDateTime esperada;
    } casos[] = {
        {false, "31/12/2026", pruebas::MomentoFijo()},
        {true, "31/12/2026", QDateTime(QDate(2026, 12, 31), QTime(0, 0))},
        {true, "2026-11-30", QDateTime(QDate(2026, 11, 30), QTime(0, 0))},
        {true, "no es fecha", pruebas::MomentoFijo()},
        {true, "31/02/2026", pruebas::MomentoFijo()},
        {true, nullptr, pruebas::MomentoFijo()},
    };
    ServidorResponde({});
    for (const auto& c : casos) {
        Datos().EjecutarSQL(QStringLiteral("DELETE FROM TA_CONFIGURACION"));
        if (c.fechaOperHasta) Fila(Datos(), QStringLiteral("FECHAOPERHASTA"), QString::fromUtf8(c.fechaOperHasta));
        Ajustes().UtilizarFechaDia = c.utilizarFechaDia;
        EXPECT_EQ(FechaServidor(), c.esperada) << c.utilizarFechaDia << " " << (c.fechaOperHasta ? c.fechaOperHasta : "-");
    }
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Fecha, SinConexionLaFechaCero) {
    Ajustes().UtilizarFechaDia = true;
    Fila(Datos(), QStringLiteral("FECHAOPERHASTA"), QStringLiteral("31/12/2026"));
    Datos().SetConectado(false);
    EXPECT_EQ(FechaServidor(), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_EQ(FechaCero(), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Fecha, UnValorQueNoEsFechaDejaLaFechaCero) {
    ServidorResponde({{QStringLiteral("mañana")}});
    EXPECT_EQ(FechaServidor(), FechaCero());
}
