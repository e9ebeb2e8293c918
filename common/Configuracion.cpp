#include "common/Configuracion.h"

#include "common/Contexto.h"
#include "common/ReportarError.h"
#include "platform/db/LiteralSql.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/Pasos.h"
#include "platform/ui/MsgBox.h"

namespace common {

using namespace platform;

namespace {

// Keys are fixed words of the program, but one with an apostrophe must
// still not change the statement.
using db::DoblarApostrofos;

QString Leer(components::AccesoDatos& datos, const QString& rutina, const QString& clave,
             QString& valorAux) {
    QString resultado;
    QString sql;
    db::Recordset rs;
    bool sinFila = true;  // a row test that failed and was ignored reads as no row
    const auto preguntar = runtime::Manejador([&rutina](const runtime::ErrorSistema& e) {
        // Only Ignore goes on; Retry is not honoured here and leaves like Abort.
        return ReportarError(e, EstiloError, rutina) == ui::Respuesta::Ignore ? runtime::Accion::Siguiente
                                                                      : runtime::Accion::Salir;
    });
    const bool completo = runtime::EjecutarPasos(preguntar, {
        [&] { if (TablaConfiguracion().trimmed().isEmpty()) TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION"); },
        [&] {
            sql = QStringLiteral("SELECT VALOR, valoraux FROM ") + TablaConfiguracion() +
                  QStringLiteral(" with(nolock)  WHERE CLAVE = '") + DoblarApostrofos(clave.trimmed()) +
                  QLatin1Char('\'');
            const QString k = clave.trimmed();
            if (k.compare(QStringLiteral("[FECHA HASTA]"), Qt::CaseInsensitive) == 0 ||
                k.compare(QStringLiteral("[FECHA DESDE]"), Qt::CaseInsensitive) == 0)
                sql = sql.toUpper();
        },
        [&] { datos.AbrirRecordset(sql, rs, nullptr, db::Cursores::ForwardOnly, db::Bloqueos::ReadOnly); },
        [&] { sinFila = rs.Eof(); },
        [&] { if (sinFila) { resultado = QStringLiteral(" "); valorAux = QString(); } },
        [&] { if (!sinFila) resultado = Util().NoNulo(rs.Fields(QStringLiteral("Valor"))); },
        [&] { if (!sinFila) valorAux = Util().NoNulo(rs.Fields(QStringLiteral("ValorAux"))); },
        [&] { datos.CerrarRecordset(rs); },
        [&] {
            if (clave.compare(QStringLiteral("THEME"), Qt::CaseInsensitive) == 0 &&
                resultado.trimmed().isEmpty())
                resultado = QStringLiteral("1");
        },
    });
    if (!completo) {
        rs.Close();
        return QString();
    }
    return resultado;
}

void Grabar(components::AccesoDatos& datos, const QString& clave, const QVariant& valor,
            const QString& valorAux, bool politicaNegocio, const QString& grupo, bool recortar) {
    QString sql;
    db::Recordset rs;
    bool sinFila = true;
    runtime::EjecutarPasos(runtime::IgnorarErrores(), {
        [&] {
            sql = QStringLiteral("SELECT * FROM ") + TablaConfiguracion() +
                  QStringLiteral(" with(nolock)  WHERE CLAVE = '") + DoblarApostrofos(clave) + QLatin1Char('\'');
        },
        [&] { datos.AbrirRecordset(sql, rs, &datos.Conexion(), db::Cursores::Dynamic, db::Bloqueos::Optimistic); },
        [&] { sinFila = rs.Eof(); },
        [&] { if (sinFila) rs.AddNew(); else rs.MoveFirst(); },
        [&] { rs.Fields(QStringLiteral("Grupo")) = Util().NoNulo(grupo); },
        [&] { rs.Fields(QStringLiteral("Clave")) = Util().NoNulo(clave).trimmed().toUpper(); },
        [&] {
            const QString v = Util().NoNulo(valor);
            rs.Fields(QStringLiteral("Valor")) = recortar ? v.trimmed() : v;
        },
        // A true/false value is never Null, so it goes in as the flag itself.
        [&] { rs.Fields(QStringLiteral("PoliticaNegocio")) = politicaNegocio; },
        [&] {
            if (valorAux.compare(QString(), Qt::CaseInsensitive) != 0)
                rs.Fields(QStringLiteral("ValorAux")) = valorAux.trimmed();
        },
        [&] { rs.Update(); },
        [&] { datos.CerrarRecordset(rs); },
    });
}

}  // namespace

QString& TablaConfiguracion() {
    static QString tabla;
    return tabla;
}

QString Cfg(const QString& clave, QString& valorAux) {
    if (!Datos().Conectado()) return QString();
    return Leer(Datos(), QStringLiteral("Cfg"), clave, valorAux);
}

QString CfgCV(const QString& clave, QString& valorAux) {
    return Leer(DatosEstadisticas(), QStringLiteral("CfgCV"), clave, valorAux);
}

void GrabaDfg(const QString& clave, const QVariant& valor, const QString& valorAux,
              bool politicaNegocio, const QString& grupo, bool recortar) {
    Grabar(Datos(), clave, valor, valorAux, politicaNegocio, grupo, recortar);
}

void GrabaCfgCV(const QString& clave, const QVariant& valor, const QString& valorAux,
                bool politicaNegocio, const QString& grupo, bool recortar) {
    Grabar(DatosEstadisticas(), clave, valor, valorAux, politicaNegocio, grupo, recortar);
}

}  // namespace common
