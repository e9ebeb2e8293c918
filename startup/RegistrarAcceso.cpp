#include "startup/RegistrarAcceso.h"

#include "platform/runtime/Texto.h"
#include "common/Contexto.h"
#include "common/FechaServidor.h"
#include "common/GActualizarDatoScript.h"
#include "common/ReportarError.h"
#include "common/SentenciasSql.h"
#include "platform/db/LiteralSql.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"

#include <limits>

namespace startup {

using namespace platform::runtime;
namespace db = platform::db;

namespace {

// Other programs of the product that are entered under more than one name:
// every alternative is recorded and looked up as the first name.
struct Sustitucion {
    const char* registrado;
    const char* alternativos[4];
};

constexpr Sustitucion Sustituciones[] = {
    {"VENTAS", {"FACTURACION", "PUNTODEVENTA", "MOSTRADOR", "VENTASMOVIL"}},
    {"COMPRAS", {"ORDENESDECOMPRA", "INGRESOCOMPRAS"}},
    {"STOCK", {"INVENTARIO", "DEPOSITOS", "MOVIMIENTOSSTOCK"}},
    {"CAJA", {"TESORERIA", "CAJAVENTAS", "CAJACHICA"}},
    {"CONTABILIDAD", {"ASIENTOS", "PLANDECUENTAS"}},
    {"SUELDOS", {"LIQUIDACION", "LIQUIDACIONSUELDOS"}},
    {"PRODUCCION", {"ORDENDETRABAJO", "ORDENESDETRABAJO"}},
    {"SERVICIOTECNICO", {"SERVICIOS", "MANTENIMIENTOS", "TECNICOS", "REPARACIONES"}},
    {"PRESUPUESTOS", {"COTIZACIONES", "PRESUPUESTOSVENTAS"}},
};

// Utilities of the product that have no menu task. "TESORERIA" is also
// mapped above, and the mapping wins.
constexpr const char* Exclusiones[] = {
    "ACTUALIZADOR", "INSTALADOR", "COPIASEGURIDAD", "CONFIGURADOR", "LICENCIAS",
    "SINCRONIZADOR", "AYUDA", "MONITOR", "REPORTES", "TESORERIA",
};

bool Igual(const QString& a, const char* b) { return platform::runtime::IgualSinCaso(a, b); }

using platform::db::DoblarApostrofos;

}  // namespace

QStringList& ListaSentencias() {
    static QStringList lista;
    return lista;
}

QString ProcesoSustituido(const QString& proceso, bool& sustituido) {
    for (const Sustitucion& s : Sustituciones)
        for (const char* alternativo : s.alternativos)
            if (alternativo && Igual(proceso, alternativo)) {
                sustituido = true;
                return QString::fromLatin1(s.registrado);
            }
    sustituido = false;
    return proceso;
}

bool ProcesoExcluido(const QString& proceso) {
    for (const char* excluido : Exclusiones)
        if (Igual(proceso, excluido)) return true;
    return false;
}

QString ConsultaTarea(const QString& usuario, const QString& proceso) {
    // The blank before the user's closing quote is the product's; the
    // server ignores trailing blanks when it compares.
    return QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre ") +
           QStringLiteral(" FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave ") +
           QStringLiteral(" WHERE (TA_TAREAS.USUARIO = '") + DoblarApostrofos(usuario) +
           QStringLiteral(" ') AND (TA_MENU.Proceso LIKE '%") + DoblarApostrofos(proceso) +
           QStringLiteral("%')");
}

void RegistrarAcceso(const QString& nombreProceso) {
    auto& ctx = common::Contexto();
    auto& datos = common::Datos();
    QString proceso, tarea;
    bool sustituido = false, conBusqueda = true, sinFilas = true;
    db::Recordset rs;
    QList<common::CampoSQL> escritos;
    bool fallido = true;

    const auto agregar = [](const char* columna, QString valor, bool primero) -> Paso {
        return [columna, valor, primero]() mutable {
            common::AgregarCampo(QString::fromLatin1(columna), valor, QStringLiteral("'"), primero);
        };
    };

    EjecutarPasos(IgnorarErrores(), {
        // 1
        [&] { proceso = nombreProceso.isEmpty() ? NombreEjecutable() : nombreProceso; },
        // 2
        [&] { ctx.UsuarioLogeado = datos.Usuario(); },
        // 3
        [&] { proceso = ProcesoSustituido(proceso, sustituido); },
        [&] { conBusqueda = sustituido || !ProcesoExcluido(proceso); },
        Si(conBusqueda, {
            // 4
            [&] {
                datos.AbrirRecordset(ConsultaTarea(ctx.UsuarioLogeado, proceso), rs, nullptr,
                                     db::Cursores::ForwardOnly, db::Bloqueos::ReadOnly);
            },
            // 5: a query that failed reads as one that found nothing.
            [&] { sinFilas = rs.Bof(); },
            [&] {
                if (!sinFilas) return;
                const QString ejecutable = NombreEjecutable();
                if (ejecutable.compare(QLatin1String("CN000PR"), Qt::CaseInsensitive) == 0)
                    tarea = QStringLiteral("Menu Principal");
                else if (datos.BaseDeDatos().compare(datos.Usuario(), Qt::CaseInsensitive) == 0 ||
                         datos.Usuario().compare(QLatin1String("SUPERVISOR CORVANA MC"),
                                                 Qt::CaseInsensitive) == 0)
                    tarea = ejecutable;
            },
            // 6: the first row gives the task.
            [&] { if (!sinFilas) rs.MoveFirst(); },
            [&] {
                if (!sinFilas) tarea = common::Util().NoNulo(rs.Fields(QStringLiteral("Nombre")));
            },
            // 7
            [&] { datos.CerrarRecordset(rs); },
        }),
        // 9
        [&] { ListaSentencias() = QStringList{QString()}; },
        // 10
        [&] {
            const QDateTime ahora = common::Ahora();
            const QString ingreso = common::FormatearFecha(ahora, common::FormatoFecha()) + QLatin1Char(' ') +
                                    common::FormatearFecha(ahora, common::FormatoHora());
            EjecutarPasos(IgnorarErrores(), {
                agregar("Maquina", common::Equipo().NombrePC().trimmed().toUpper(), true),
                agregar("Usuario", ctx.UsuarioLogeado.trimmed().toUpper(), false),
                agregar("Formulario", proceso.trimmed().toUpper(), false),
                agregar("Tarea", tarea.trimmed().toUpper(), false),
                agregar("Ingreso", ingreso, false),
                // On the context's own field: it keeps no single quote afterwards.
                [&] { common::AgregarCampo(QStringLiteral("NombreUsuario"), ctx.UsuarioLogeado,
                                           QStringLiteral("'"), false); },
            });
            escritos = common::ListaCampos();
        },
        // 11
        [&] {
            QString condicion;
            common::ArmarSentencia(common::ListaCampos(), ListaSentencias(), QStringLiteral("Control_Acceso"),
                                   false, condicion, false);
        },
        // 12
        [&] {
            std::int32_t numero = 0;
            QString enviado, texto;
            common::GActualizarDatoScript(ListaSentencias(), fallido, numero, false, false, enviado, texto,
                                          true);
        },
        // 13: the identifier of the row just written, found by the values
        // it was written with (already SQL literals); the newest such row.
        [&] {
            if (fallido || escritos.size() < 5) return;
            QString condicion;
            for (int i = 0; i < 5; ++i)
                condicion += (i ? QStringLiteral(" AND ") : QString()) + escritos[i].Nombre +
                             QStringLiteral(" = ") + escritos[i].Valor;
            datos.AbrirRecordset(QStringLiteral("SELECT TOP 1 ID FROM Control_Acceso  with(nolock)  WHERE ") +
                                     condicion + QStringLiteral(" ORDER BY ID DESC"),
                                 rs, nullptr, db::Cursores::ForwardOnly, db::Bloqueos::ReadOnly);
            const qlonglong id = rs.Fields(QStringLiteral("ID")).Value().toLongLong();
            if (id < std::numeric_limits<std::int32_t>::min() || id > std::numeric_limits<std::int32_t>::max())
                Lanzar(Err::Desbordamiento);
            ctx.IdControlAcceso = static_cast<std::int32_t>(id);
        },
        [&] { datos.CerrarRecordset(rs); },
    });
}

}  // namespace startup
