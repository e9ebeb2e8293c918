#include "common/FechaServidor.h"

#include "common/AjustesGlobales.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "platform/db/Recordset.h"
#include "platform/db/Reloj.h"
#include "platform/runtime/Pasos.h"

#include <QLocale>
#include <QStringList>

namespace common {

using namespace platform;

namespace {

// Day, month and year in the order of the workstation's short date format.
QStringList OrdenRegional() {
    const QString corto = QLocale::system().dateFormat(QLocale::ShortFormat).toLower();
    const qsizetype d = corto.indexOf(QLatin1Char('d')), m = corto.indexOf(QLatin1Char('m')),
                    y = corto.indexOf(QLatin1Char('y'));
    if (y >= 0 && y < d && y < m) return {QStringLiteral("yyyy"), QStringLiteral("M"), QStringLiteral("d")};
    if (m >= 0 && m < d) return {QStringLiteral("M"), QStringLiteral("d"), QStringLiteral("yyyy")};
    return {QStringLiteral("d"), QStringLiteral("M"), QStringLiteral("yyyy")};
}

// A date text as the workstation reads one: ISO as the database gives it,
// or day, month and year in the regional order with "/", "-" or ".",
// optionally followed by a time. Invalid when it is not a date.
QDateTime LeerFechaTexto(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty()) return {};
    QDateTime iso = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (!iso.isValid()) iso = QDateTime::fromString(QString(t).replace(QLatin1Char(' '), QLatin1Char('T')), Qt::ISODateWithMs);
    if (iso.isValid()) return iso;

    const QStringList orden = OrdenRegional();
    const QStringList horas{QString(), QStringLiteral(" H:mm"), QStringLiteral(" H:mm:ss")};
    for (const QString& separador : {QStringLiteral("/"), QStringLiteral("-"), QStringLiteral(".")}) {
        for (const QString& hora : horas) {
            for (const bool anioCorto : {false, true}) {
                QStringList partes = orden;
                if (anioCorto) partes.replaceInStrings(QStringLiteral("yyyy"), QStringLiteral("yy"));
                const QString formato = partes.join(separador) + hora;
                QDateTime f = QDateTime::fromString(t, formato);
                if (!f.isValid()) continue;
                // Two-digit years read as 1930-2029, as the old runtime did.
                if (anioCorto && f.date().year() < 1930) f = f.addYears(100);
                return f;
            }
        }
    }
    return {};
}

// The row's value as a date and time, whole seconds only.
QDateTime ComoFechaHora(const db::Valor& valor) {
    QDateTime f;
    if (valor.typeId() == QMetaType::QDateTime) f = valor.toDateTime();
    else if (valor.typeId() == QMetaType::QDate) f = valor.toDate().startOfDay();
    else if (!db::EsNulo(valor)) f = LeerFechaTexto(valor.toString());
    if (!f.isValid()) runtime::Lanzar(runtime::Err::TiposNoCoinciden);
    const QTime h = f.time();
    return QDateTime(f.date(), QTime(h.hour(), h.minute(), h.second()));
}

}  // namespace

QDateTime FechaCero() { return QDateTime(QDate(1899, 12, 30), QTime(0, 0)); }

QDateTime Ahora() { return db::Ahora(); }

void EstablecerReloj(std::function<QDateTime()> reloj) { db::EstablecerReloj(std::move(reloj)); }

QDateTime FechaServidor() {
    const runtime::Manejador ignorar = runtime::IgnorarErrores();
    QDateTime resultado;
    db::Recordset rs;
    // When the row test itself fails (no query ran) the old code went on
    // into the row's branch, whose read fails too: the zero date stays.
    bool conFila = true;
    runtime::EjecutarPasos(ignorar, {
        [&] { resultado = FechaCero(); },
        [&] { Datos().AbrirRecordset(QStringLiteral("select getDate() as fecha"), rs, nullptr,
                                     db::Cursores::ForwardOnly, db::Bloqueos::ReadOnly); },
        [&] { conFila = !rs.Bof(); },
        [&] { if (conFila) resultado = ComoFechaHora(rs.Fields(QStringLiteral("Fecha"))); },
        [&] {
            if (conFila) return;
            if (!Ajustes().UtilizarFechaDia) {
                resultado = Ahora();
                return;
            }
            QString aux;
            const QDateTime hasta = LeerFechaTexto(Cfg(QStringLiteral("FECHAOPERHASTA"), aux));
            resultado = hasta.isValid() ? hasta : Ahora();
        },
        [&] { Datos().CerrarRecordset(rs); },
    });
    return resultado;
}

}  // namespace common
