#include "reception/PeriodoImportacion.h"

#include "platform/runtime/Texto.h"
#include "platform/runtime/ErrorSistema.h"

#include <optional>

namespace reception {

namespace {
QString Texto(const QDate& d) { return d.toString(Qt::ISODate); }

QDate Fecha(const QString& texto) {
    const QDate d = QDate::fromString(texto.trimmed(), Qt::ISODate);
    if (!d.isValid()) platform::runtime::Lanzar(platform::runtime::Err::TiposNoCoinciden);
    return d;
}
}  // namespace

void CalcularPeriodo(const QString& ajuste, const QDateTime& desde, const QDateTime& hasta,
                     QString& fd, QString& fh) {
    const auto es = [&](const char* valor) { return platform::runtime::IgualSinCaso(ajuste, valor); };
    const QDate d = desde.date();
    QDate inicio;
    if (es("Dia Actual")) inicio = d;
    // "Last week" looks back seven days: one day would silently skip mail
    // whenever the program was off for two.
    else if (es("Ultima Semana")) inicio = d.addDays(-7);
    else if (es("Ultimos 3 Días")) inicio = d.addDays(-3);
    else if (es("Ultimos 5 Días")) inicio = d.addDays(-5);
    else if (es("Ultimo Mes")) inicio = d.addMonths(-1);
    else if (es("Ultimos 2 Meses")) inicio = d.addMonths(-2);
    else return;
    fd = Texto(inicio);
    fh = Texto(hasta.date());
}

bool EnPeriodo(std::optional<qint64> segundos, const QString& fd, const QString& fh) {
    // The same bounds for every message of an import: worked out once, on
    // each thread that asks (the import's and the reading ahead's).
    struct Limites {
        QString fd, fh;
        qint64 desde, hasta;
    };
    thread_local std::optional<Limites> limites;
    if (!limites || limites->fd != fd || limites->fh != fh) {
        const QDateTime desde(Fecha(fd), QTime(0, 0, 1));
        const QDateTime hasta(Fecha(fh), QTime(23, 59, 59));
        limites = Limites{fd, fh, desde.toSecsSinceEpoch(), hasta.toSecsSinceEpoch()};
    }
    return segundos && *segundos >= limites->desde && *segundos <= limites->hasta;
}

}  // namespace reception
