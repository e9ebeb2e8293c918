#include "reception/ResumenRecepcion.h"

#include <QElapsedTimer>

#include <algorithm>

#include <cstdio>
#include <unistd.h>

namespace reception {

QString LineaResumen(const QString& cuenta, const ResultadoRecepcion& r) {
    return QStringLiteral("Cuenta %1: filas nuevas %2, conocidos %3, omitidos %4, respuestas enviadas %5, fallos %6, no son correo %7")
        .arg(cuenta)
        .arg(r.nuevos)
        .arg(r.conocidos)
        .arg(r.fueraDelPeriodo + r.apartados)
        .arg(r.respuestasEnviadas)
        .arg(r.pasados + r.respuestasNoEnviadas)
        .arg(r.noSonCorreo);
}

namespace {
struct Avance {
    bool activo = false;
    QElapsedTimer desde;      // since the account's first message
    QElapsedTimer ultimaVez;  // a terminal line every few tenths of a second is enough
};
Avance& Estado() {
    static Avance a;
    return a;
}
}  // namespace

void ActivarAvance(bool activo) { Estado().activo = activo && isatty(STDERR_FILENO); }

void MostrarAvance(const QString& cuenta, long n, long total) {
    Avance& a = Estado();
    if (!a.activo) return;
    // The first line waits a little, so the rate means something.
    if (n <= 1 || !a.desde.isValid()) {
        a.desde.start();
        a.ultimaVez.start();
    }
    const bool ultimo = n >= total;
    if (!ultimo && a.ultimaVez.elapsed() < 250) return;
    a.ultimaVez.start();
    const double segundos = std::max<qint64>(a.desde.elapsed(), 1) / 1000.0;
    const QString linea = QStringLiteral("\r%1: %2 de %3 (%4 mensajes/s)\033[K")
                              .arg(cuenta)
                              .arg(n)
                              .arg(total)
                              .arg(n / segundos, 0, 'f', 0);
    std::fputs(linea.toUtf8().constData(), stderr);
    if (ultimo) std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace reception
