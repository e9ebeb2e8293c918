#include "common/GActualizarDatoScript.h"

#include "common/Contexto.h"
#include "common/ReportarError.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"
#include "platform/ui/MsgBox.h"

namespace common {

using namespace platform::runtime;
namespace ui = platform::ui;

namespace {
const QChar CR(13);
const QString CRLF = QStringLiteral("\r\n");

// Array bounds and the error count were 16-bit counters.
void ExigirLimite16(qsizetype elementos) { Entero16(elementos - 1); }

QString Linea(const platform::db::ErrorBaseDatos& e) {
    return QString::number(e.NativeError) + QStringLiteral(" : ") + e.Description + CRLF;
}
}  // namespace

QString ParteSentencias(const QStringList& sentencias) {
    ExigirLimite16(sentencias.size());
    QString parte;
    for (const QString& s : sentencias)
        if (!s.trimmed().isEmpty()) parte += CR + s;
    return parte;
}

QString ScriptTransaccion(const QString& parteSentencias) {
    return QStringLiteral("BEGIN TRANSACTION ") + CR + CR + parteSentencias + CR;
}

void GActualizarDatoScript(const QStringList& sentencias, bool& fallido, std::int32_t& numeroError,
                           bool silencioDuplicado, bool silencioRestriccion,
                           QString& scriptEnviado, QString& textoError, bool mostrarMensaje) {
    auto& datos = Datos();
    QString parte, script, ejecutado, textoInterno;
    long recordado = 0;
    bool sinErrores = false;
    // A commit the database did not confirm must not leave the transaction
    // open: every later statement on the connection would join it.
    bool commitPendiente = false;
    long errorCommit = 0;

    const auto errores = [&datos]() -> platform::db::Errores& { return datos.Conexion().Errors(); };
    const auto primero = [&errores]() -> const platform::db::ErrorBaseDatos& {
        if (errores().Vacia()) Lanzar(Err::IndiceFueraDeRango);
        return errores().Item(0);
    };

    EjecutarPasos(PreguntarOperador([](const ErrorSistema& e) {
                      return ReportarError(e, EstiloError, QStringLiteral("GActualizarDatoScript"));
                  }),
                  {
        // 1
        [&] { fallido = false; },
        [&] { parte = ParteSentencias(sentencias); },
        // 2
        [&] { if (parte == QLatin1String("")) SalirDelProcedimiento(); },
        // 3: the database's own errors are read from the collection, never raised.
        [&] {
            script = ScriptTransaccion(parte);
            EjecutarPasos(IgnorarErrores(), {
                [&] { scriptEnviado = script; },
                [&] { datos.EjecutarSQL(script); },
                [&] { ejecutado = script; },
            });
        },
        // 4
        [&] { sinErrores = errores().Count() == 0; },
        [&] {
            if (!sinErrores) return;
            commitPendiente = true;
            datos.EjecutarSQL(QStringLiteral("COMMIT TRANSACTION"));
            if (!errores().Vacia()) {
                const auto& e = primero();
                errorCommit = e.NativeError;
                Lanzar(e.Number, e.Description, datos.Motor());
            }
            commitPendiente = false;
        },
        [&] {
            if (!sinErrores) return;
            numeroError = 0;
            SalirDelProcedimiento();
        },
        // 5
        [&] {
            recordado = primero().NativeError;
            fallido = true;
            textoInterno.clear();
        },
        [&] {
            const int total = errores().Count();
            ExigirLimite16(total);
            if (total == 1) {
                textoInterno = Linea(primero());
                textoError = textoInterno;
            } else {
                // The last error of the collection is never listed.
                for (int i = 0; i < total - 1; ++i) {
                    textoInterno += Linea(errores().Item(i));
                    textoError = textoInterno;
                }
            }
        },
        [&] {
            if (silencioDuplicado && recordado == platform::db::Nativo::ClaveDuplicada) {
                textoError = primero().Description;
                textoInterno.clear();
            }
        },
        [&] {
            if (silencioRestriccion && recordado == platform::db::Nativo::ConflictoRestriccion) {
                textoError = primero().Description;
                textoInterno.clear();
            }
        },
        [&] { errores().Clear(); },
        // 6
        [&] {
            EjecutarPasos(IgnorarErrores(), {
                [&] { datos.EjecutarSQL(QStringLiteral("ROLLBACK TRANSACTION")); },
            });
            fallido = true;
        },
        // 7
        [&] {
            QString proceso = NombreEjecutable();
            GrabaError(ejecutado, proceso, recordado, textoInterno);
        },
        // 8
        [&] {
            if (!textoInterno.trimmed().isEmpty() && mostrarMensaje)
                ui::MsgBox(textoInterno, ui::Estilo::OKOnly + ui::Estilo::Critical,
                           QStringLiteral("Aviso al Operador!"));
        },
        // 9
        [&] { numeroError = static_cast<std::int32_t>(recordado); },
    });

    if (commitPendiente) {
        EjecutarPasos(IgnorarErrores(), {
            [&] { datos.EjecutarSQL(QStringLiteral("ROLLBACK TRANSACTION")); },
        });
        fallido = true;
        numeroError = static_cast<std::int32_t>(errorCommit);
    }
}

}  // namespace common
