#include "reception/Sincronizar.h"

#include "common/Configuracion.h"
#include "common/FechaServidor.h"
#include "common/ReportarError.h"
#include "platform/mail/Aplicacion.h"
#include "platform/runtime/Entorno.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

namespace reception {

namespace {

constexpr int EsperaPredeterminada = 120;

void Anotar(VistaRecepcion& vista, const QString& cuenta, const QString& motivo) {
    const QString texto = QStringLiteral("No se pudo sincronizar la cuenta %1: %2").arg(cuenta, motivo);
    QFile log(common::CarpetaTemporal() + QStringLiteral("CVERR.LOG"));
    if (log.open(QIODevice::Append | QIODevice::Text)) {
        const QDateTime ahora = common::Ahora();
        log.write((ahora.toString(QStringLiteral("MM-dd-yyyy HH:mm:ss")) +
                   QStringLiteral(" Rutina: Sincronizar Mensaje ") + texto + u'\n')
                      .toUtf8());
    }
    vista.MostrarEstado(texto);
}

// The last line the command wrote, to say why it failed.
QString UltimaLinea(QProcess& proceso) {
    const QStringList lineas =
        QString::fromLocal8Bit(proceso.readAll()).split(u'\n', Qt::SkipEmptyParts);
    return lineas.isEmpty() ? QString() : lineas.last().trimmed().left(200);
}

}  // namespace

QStringList ArgumentosSincronizar(const QString& linea, const QString& cuenta, const QString& raiz) {
    QStringList argumentos = QProcess::splitCommand(linea);
    for (QString& a : argumentos) {
        // One pass over the argument, so a {correo} inside the account name stays as it is.
        QString resultado;
        for (qsizetype i = 0; i < a.size();) {
            if (a.mid(i, 8) == QLatin1String("{cuenta}")) {
                resultado += cuenta;
                i += 8;
            } else if (a.mid(i, 8) == QLatin1String("{correo}")) {
                resultado += raiz;
                i += 8;
            } else {
                resultado += a[i++];
            }
        }
        a = resultado;
    }
    return argumentos;
}

bool Sincronizar(VistaRecepcion& vista, const QString& cuenta) {
    QString aux;
    const QString linea = common::Cfg(QStringLiteral("EMAIL_SINCRONIZAR"), aux).trimmed();
    if (linea.isEmpty()) return true;
    bool correcto = false;
    int espera = common::Cfg(QStringLiteral("EMAIL_SINCRONIZAR_ESPERA"), aux).trimmed().toInt(&correcto);
    if (!correcto || espera <= 0) espera = EsperaPredeterminada;

    const QStringList argumentos =
        ArgumentosSincronizar(linea, cuenta, platform::mail::Aplicacion::RaizPredeterminada());
    if (argumentos.isEmpty()) return true;
    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    proceso.setStandardInputFile(QProcess::nullDevice());
    proceso.start(argumentos.first(), argumentos.mid(1));
    if (!proceso.waitForStarted(5000)) {
        // Qt says why only in English: the log line is the operator's.
        const QString motivo = proceso.error() == QProcess::FailedToStart
                                   ? QStringLiteral("no existe o no se puede ejecutar")
                                   : QStringLiteral("no arrancó en 5 segundos");
        Anotar(vista, cuenta, QStringLiteral("no se pudo ejecutar «%1» (%2)").arg(argumentos.first(), motivo));
        return false;
    }
    vista.MostrarEstado(QStringLiteral("Sincronizando %1...").arg(cuenta));
    QElapsedTimer reloj;
    reloj.start();
    while (!proceso.waitForFinished(50)) {
        platform::runtime::DoEvents();
        QString motivo;
        if (vista.CancelarRecepcion()) motivo = QStringLiteral("cancelado por el operador");
        else if (reloj.elapsed() > qint64(espera) * 1000)
            motivo = QStringLiteral("sin respuesta en %1 segundos").arg(espera);
        if (motivo.isEmpty()) continue;
        proceso.kill();
        proceso.waitForFinished(2000);
        Anotar(vista, cuenta, motivo);
        return false;
    }
    if (proceso.exitStatus() != QProcess::NormalExit || proceso.exitCode() != 0) {
        const QString ultima = UltimaLinea(proceso);
        Anotar(vista, cuenta,
               QStringLiteral("«%1» terminó con código %2%3")
                   .arg(argumentos.first())
                   .arg(proceso.exitCode())
                   .arg(ultima.isEmpty() ? QString() : QStringLiteral(": ") + ultima));
        return false;
    }
    return true;
}

}  // namespace reception
