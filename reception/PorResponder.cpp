#include "reception/PorResponder.h"

#include "common/Contexto.h"
#include "common/ReportarError.h"
#include "platform/runtime/ErrorSistema.h"
#include "reception/EjecutarAccion.h"
#include "reception/BaseEstado.h"

#include <optional>

namespace reception {

using namespace estado;
using platform::runtime::ErrorSistema;

namespace {

struct Origen {
    QString cuenta;
    QString entrada;
};

std::optional<Origen>& OrigenActual() {
    static std::optional<Origen> origen;
    return origen;
}

}  // namespace

void AnotarPorResponder(const QString& cuenta, const PorResponder& mensaje) {
    EjecutarSiSePuede("INSERT OR REPLACE INTO por_responder (cuenta, entrada, remitente, comando, proceso)"
                      " VALUES (?1, ?2, ?3, ?4, ?5)",
                      {cuenta, mensaje.entrada, mensaje.remitente, mensaje.comando, Proceso()});
}

void OlvidarPorResponder(const QString& cuenta, const QString& entrada) {
    EjecutarSiSePuede("DELETE FROM por_responder WHERE cuenta=?1 AND entrada=?2", {cuenta, entrada});
}

QList<PorResponder> TomarPorResponder(const QString& cuenta) {
    QList<PorResponder> dejados;
    try {
        const Base b = Abrir();
        Transaccion t(b.get());
        const Sentencia s = Preparar(
            b.get(), "SELECT entrada, remitente, comando, proceso FROM por_responder WHERE cuenta=?1", {cuenta});
        while (Fila(b.get(), s.get()))
            if (!Vivo(s.get(), 3)) dejados.append({Texto(s.get(), 0), Texto(s.get(), 1), Texto(s.get(), 2)});
        for (const PorResponder& p : dejados)
            Ejecutar(b.get(), "UPDATE por_responder SET proceso=?3 WHERE cuenta=?1 AND entrada=?2",
                     {cuenta, p.entrada, Proceso()});
        t.Confirmar();
    } catch (const ErrorSistema&) {
        return {};
    }
    return dejados;
}

void ResponderDejados(VistaRecepcion& vista, const QString& cuenta) {
    for (const PorResponder& p : TomarPorResponder(cuenta)) {
        try {
            if (common::Datos().ExisteRegistro(QStringLiteral("V_MA_EMAILMOV"), p.entrada, QStringLiteral("UIDL"))) {
                const OrigenDeRespuesta origen(cuenta, p.entrada);
                EjecutarAccion(vista, p.remitente, p.comando);
            }
        } catch (const ErrorSistema& e) {
            // Dropped, not tried again: a reply goes at most once.
            common::AnotarAviso(QStringLiteral("Cuenta %1: no se pudo responder al mensaje %2: %3")
                                    .arg(cuenta, p.entrada, e.Descripcion),
                                QStringLiteral("ResponderDejados"));
        }
        OlvidarPorResponder(cuenta, p.entrada);
    }
}

OrigenDeRespuesta::OrigenDeRespuesta(const QString& cuenta, const QString& entrada) {
    OrigenActual() = Origen{cuenta, entrada};
}

OrigenDeRespuesta::~OrigenDeRespuesta() { OrigenActual().reset(); }

void OlvidarOrigenEn(sqlite3* b) {
    const auto& origen = OrigenActual();
    if (!origen) return;
    Ejecutar(b, "DELETE FROM por_responder WHERE cuenta=?1 AND entrada=?2", {origen->cuenta, origen->entrada});
}

}  // namespace reception
