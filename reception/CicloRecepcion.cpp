#include "reception/CicloRecepcion.h"

#include "common/Contexto.h"
#include "platform/runtime/Pasos.h"
#include "reception/EjecutarAccion.h"
#include "reception/LeerOutlook.h"
#include "reception/ReenvioRespuestas.h"

#include <QStringList>

namespace reception {

using namespace platform::runtime;

namespace {
// Set while an import runs; a request that arrives meanwhile (a press
// during a yield, a tick while a prompt is open) is refused.
class Guardia {
public:
    Guardia(bool& bandera, VistaRecepcion& vista) : bandera_(bandera), vista_(vista) {
        bandera_ = true;
        vista_.MarcarImportando(true);
    }
    ~Guardia() {
        bandera_ = false;
        vista_.MarcarImportando(false);
    }

private:
    bool& bandera_;
    VistaRecepcion& vista_;
};
}  // namespace

bool CicloRecepcion::Recibir() {
    if (importando_) return false;
    Guardia guardia(importando_, vista_);
    vista_.MostrarEstado(QStringLiteral("Cargando..."));
    QString fd, fh;
    if (vista_.TextoCuentas().compare(QStringLiteral("Todas"), Qt::CaseInsensitive) == 0) {
        // "Todas" is the list's first entry, not an account: import every one.
        ImportarCuentasConocidas();
    } else {
        LeerOutlook(vista_, vista_.TextoCuentas(), fd, fh);
    }
    ReenviarPendientes(vista_);
    vista_.MostrarEstado(QStringLiteral("Finalizado"));
    return true;
}

bool CicloRecepcion::Tick() {
    if (importando_) return false;
    if (vista_.Deshabilitado()) return true;
    Guardia guardia(importando_, vista_);
    ImportarCuentasConocidas();
    ReenviarPendientes(vista_);
    return true;
}

void CicloRecepcion::ImportarCuentasConocidas() {
    QStringList cuentas{QString()};
    const Manejador preguntar = PreguntarOperador([](const ErrorSistema& e) {
        return common::Util().MostrarError(e);
    });
    EjecutarPasos(preguntar, {
        [&] {
            // A retried reading starts the list again, or its accounts would be imported twice.
            cuentas = QStringList{QString()};
            platform::db::Recordset rs;
            common::Datos().AbrirRecordset(
                QStringLiteral("SELECT CUENTAEMAIL FROM V_MA_EMAILMOV GROUP BY CUENTAEMAIL"), rs,
                nullptr, platform::db::Cursores::ForwardOnly, platform::db::Bloqueos::ReadOnly);
            if (rs.Bof() && rs.Eof()) return;
            for (; !rs.Eof(); rs.MoveNext()) {
                const QString cuenta =
                    common::Util().NoNulo(rs.Fields(QStringLiteral("CuentaEmail")).Value()).trimmed();
                if (!cuenta.isEmpty()) {
                    cuentas.last() = cuenta;
                    cuentas.append(QString());
                }
            }
        },
        [&] {
            for (qsizetype i = 0; i + 1 < cuentas.size(); ++i) {
                EjecutarPasosAnidados(preguntar, {
                    [&] { vista_.SetTextoCuentas(cuentas[i]); },
                    [&] {
                        QString fd, fh;
                        LeerOutlook(vista_, cuentas[i], fd, fh);
                    },
                });
            }
        },
    });
}

void CicloRecepcion::Prueba() {
    if (importando_) return;
    Guardia guardia(importando_, vista_);
    // A command processor failure must be shown, never end the program.
    try {
        EjecutarAccion(vista_, QStringLiteral("prueba@localhost"),
                       QStringLiteral("xxxxxxxxxx #TELEFONO:almacen# xxxxxxxxxx'"));
    } catch (...) {
        common::Util().MostrarError(ErrorDesdeExcepcion());
    }
}

}  // namespace reception
