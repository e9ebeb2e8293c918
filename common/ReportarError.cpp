#include "common/ReportarError.h"

#include "common/Contexto.h"
#include "common/FechaServidor.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/Archivos.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"
#include "platform/ui/MsgBox.h"

#include <QTextStream>

#include <limits>

namespace common {

using namespace platform;
namespace Archivos = runtime::Archivos;

namespace {

QString TextoRespuesta(int respuesta) {
    switch (respuesta) {
    case ui::Respuesta::Abort: return QStringLiteral("Abortar");
    case ui::Respuesta::Retry: return QStringLiteral("Reintentar");
    case ui::Respuesta::Ignore: return QStringLiteral("Ignorar");
    case ui::Respuesta::Cancel: return QStringLiteral("Cancelar");
    case ui::Respuesta::Yes: return QStringLiteral("Sí");
    case ui::Respuesta::No: return QStringLiteral("No");
    default: return QString();
    }
}

// The log's file number is given back however the call ends, so a failed
// report does not leave the log open for the next one (which would meet 55).
struct NumeroAbierto {
    int numero;
    ~NumeroAbierto() { Archivos::Cerrar(numero); }
};

}  // namespace

QString CarpetaTemporal() {
    QString carpeta;
    if (!runtime::Entorno(QStringLiteral("TEMP")).isEmpty())
        carpeta = runtime::Entorno(QStringLiteral("TMP"));
    carpeta = carpeta.trimmed();
    if (carpeta.isEmpty()) carpeta = Equipo().CarpetaEquipo();
    carpeta = Util().RutaConBarra(carpeta);
    if (!carpeta.endsWith(QLatin1Char('/'))) carpeta += QLatin1Char('/');
    return carpeta;
}

std::int16_t ReportarError(const runtime::ErrorSistema& error, int estilo, const QString& rutina) {
    const NumeroAbierto log{Archivos::Libre()};
    const QString ruta = CarpetaTemporal() + QStringLiteral("CVERR.LOG");
    Archivos::Abrir(log.numero, ruta, Archivos::Modo::Append);

    const QString mensaje = QStringLiteral("Ha ocurrido el Siguiente Error (") +
                            QString::number(error.Numero) + QStringLiteral(") ") +
                            error.Descripcion.trimmed();
    const QString pieza = rutina.isEmpty() ? QString() : QStringLiteral(" - ") + rutina;
    const QString titulo = error.Fuente + pieza + QStringLiteral(" Aviso al operador!!! ");

    if (error.Numero == 0) return 0;

    const int respuesta = ui::MsgBox(mensaje, estilo, titulo);
    // One reading of the clock for both pieces, so they cannot straddle midnight.
    const QDateTime ahora = Ahora();
    Archivos::EscribirLinea(log.numero,
                            ahora.toString(QStringLiteral("MM-dd-yyyy")) + QLatin1Char(' ') +
                                ahora.toString(QStringLiteral("HH:mm:ss")) +
                                QStringLiteral(" Rutina: ") + pieza.trimmed() +
                                QStringLiteral(" Mensaje ") + mensaje.trimmed() +
                                QStringLiteral(" Respondió : ") + TextoRespuesta(respuesta));
    return static_cast<std::int16_t>(respuesta);
}

void AnotarAviso(const QString& texto, const QString& rutina) {
    QTextStream(stderr) << QStringLiteral("[aviso] ") << texto << Qt::endl;
    try {
        const NumeroAbierto log{Archivos::Libre()};
        Archivos::Abrir(log.numero, CarpetaTemporal() + QStringLiteral("CVERR.LOG"), Archivos::Modo::Append);
        const QDateTime ahora = Ahora();
        Archivos::EscribirLinea(log.numero, ahora.toString(QStringLiteral("MM-dd-yyyy")) + QLatin1Char(' ') +
                                                ahora.toString(QStringLiteral("HH:mm:ss")) +
                                                QStringLiteral(" Rutina: ") + rutina +
                                                QStringLiteral(" Mensaje ") + texto);
    } catch (const runtime::ErrorSistema&) {
        // The line on stderr is there; a log that cannot be written says no more.
    }
}

void GrabaError(const QString& sql, QString& proceso, long numero, const QString& descripcion) {
    db::Recordset rs;
    // The column is a 32-bit integer: a wider number is refused, not cut.
    const auto numeroError = [numero]() -> db::Valor {
        if (numero < std::numeric_limits<std::int32_t>::min() ||
            numero > std::numeric_limits<std::int32_t>::max())
            runtime::Lanzar(runtime::Err::Desbordamiento);
        return static_cast<std::int32_t>(numero);
    };
    runtime::EjecutarPasos(runtime::IgnorarErrores(), {
        [&] { if (proceso.compare(QString(), Qt::CaseInsensitive) == 0) proceso = runtime::NombreEjecutable(); },
        [&] { Datos().AbrirRecordset(QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) "), rs,
                                     nullptr, db::Cursores::Dynamic, db::Bloqueos::Optimistic); },
        [&] { rs.AddNew(); },
        [&] { rs.Fields(QStringLiteral("Proceso")) = runtime::NombreEjecutable(); },
        [&] { rs.Fields(QStringLiteral("Fecha")) = FormatearFecha(Ahora(), FormatoFechaHora()); },
        [&] { rs.Fields(QStringLiteral("Error")) = numeroError(); },
        [&] { rs.Fields(QStringLiteral("Descripcion")) = Util().Truncar(descripcion, 250); },
        [&] { rs.Fields(QStringLiteral("SQL")) = sql; },
        [&] { rs.Fields(QStringLiteral("PC")) = Equipo().NombrePC(); },
        [&] { rs.Fields(QStringLiteral("Usuario")) = Datos().Usuario(); },
        [&] { rs.Update(); },
        [&] { Datos().CerrarRecordset(rs); },
    });
}

QString FormatoFechaHora() { return QStringLiteral("dd/mm/yy hh:mm"); }
QString FormatoFecha() { return QStringLiteral("dd/mm/yy"); }
QString FormatoHora() { return QStringLiteral("hh:mm"); }

QString FormatearFecha(const QDateTime& momento, const QString& patron) {
    // Runs of the same letter are the fields; anything else is copied.
    struct Pieza {
        QChar letra;
        qsizetype largo;
    };
    QList<Pieza> piezas;
    for (qsizetype i = 0; i < patron.size();) {
        const QChar c = patron.at(i).toLower();
        qsizetype j = i + 1;
        if (QStringLiteral("dmyhns").contains(c))
            while (j < patron.size() && patron.at(j).toLower() == c) ++j;
        piezas.append({QStringLiteral("dmyhns").contains(c) ? c : patron.at(i), j - i});
        i = j;
    }
    const auto dosCifras = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    QString texto;
    QChar anterior;  // the last field letter seen
    for (qsizetype k = 0; k < piezas.size(); ++k) {
        const Pieza& p = piezas.at(k);
        const bool dosLetras = p.largo >= 2;
        switch (p.letra.unicode()) {
        case 'd': texto += dosLetras ? dosCifras(momento.date().day()) : QString::number(momento.date().day()); break;
        case 'y':
            texto += p.largo >= 4 ? QString::number(momento.date().year())
                                  : dosCifras(momento.date().year() % 100);
            break;
        case 'h': texto += dosLetras ? dosCifras(momento.time().hour()) : QString::number(momento.time().hour()); break;
        case 'n': texto += dosLetras ? dosCifras(momento.time().minute()) : QString::number(momento.time().minute()); break;
        case 's': texto += dosLetras ? dosCifras(momento.time().second()) : QString::number(momento.time().second()); break;
        case 'm': {
            QChar siguiente;
            for (qsizetype n = k + 1; n < piezas.size() && siguiente.isNull(); ++n)
                if (QStringLiteral("dmyhns").contains(piezas.at(n).letra)) siguiente = piezas.at(n).letra;
            const bool minuto = anterior == QLatin1Char('h') || siguiente == QLatin1Char('s');
            const int valor = minuto ? momento.time().minute() : momento.date().month();
            texto += dosLetras ? dosCifras(valor) : QString::number(valor);
            break;
        }
        default: texto += QString(p.largo, p.letra);
        }
        if (QStringLiteral("dmyhns").contains(p.letra)) anterior = p.letra;
    }
    return texto;
}

}  // namespace common
