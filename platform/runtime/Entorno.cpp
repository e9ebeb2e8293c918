#include "platform/runtime/Entorno.h"

#include "platform/runtime/Archivos.h"
#include "platform/runtime/ErrorSistema.h"
#include "platform/runtime/FalloSistema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace platform::runtime {

namespace {
QString& CarpetaFijada() { static QString s; return s; }
QString& NombreFijado() { static QString s; return s; }
QString& LineaFijada() { static QString s; return s; }
std::function<void(int)>& Finalizador() { static std::function<void(int)> f; return f; }
}  // namespace

QString Entorno(const QString& nombre) {
    return qEnvironmentVariable(nombre.toUtf8().constData());
}

QString CarpetaAplicacion() {
    if (!CarpetaFijada().isEmpty()) return CarpetaFijada();
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString NombreEjecutable() {
    if (!NombreFijado().isEmpty()) return NombreFijado();
    if (QCoreApplication::instance())
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return QStringLiteral("recepcion-email");
}

QString LineaComandos() { return LineaFijada(); }

void EstablecerCarpetaAplicacion(const QString& carpeta) { CarpetaFijada() = carpeta; }
void EstablecerNombreEjecutable(const QString& nombre) { NombreFijado() = nombre; }
void EstablecerLineaComandos(const QString& linea) { LineaFijada() = linea; }

QString DecidirCarpetaAplicacion(const QString& carpetaEjecutable) {
    const QFileInfo ejecutable(carpetaEjecutable);
    // Root can write /usr/bin too: an installed program never writes beside itself.
    const bool instalado = QFileInfo::exists(carpetaEjecutable + QStringLiteral("/../share/recepcion-email"));
    QString carpeta = carpetaEjecutable;
    if (instalado || !ejecutable.isDir() || !ejecutable.isWritable()) {
        carpeta = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                  QStringLiteral("/recepcion-email");
        QDir().mkpath(carpeta);
    }
    CarpetaFijada() = carpeta;
    return carpeta;
}

void CrearCarpeta(const QString& ruta) {
    QString limpia = ruta;
    while (limpia.size() > 1 && limpia.endsWith(QLatin1Char('/'))) limpia.chop(1);
    const QFileInfo info(limpia);
    // The operator is told which folder: the number alone names none.
    const auto fallar = [&](long numero, const QString& ruta) {
        Lanzar(numero, QStringLiteral("%1: %2").arg(DescripcionError(numero), ruta));
    };
    if (limpia.isEmpty() || info.exists()) fallar(Err::ErrorAccesoRuta, limpia);
    if (!info.dir().exists()) fallar(Err::RutaNoEncontrada, info.dir().path());
    // Normal permissions: Linux has no hidden/system attributes to clear.
    if (::mkdir(QFile::encodeName(limpia).constData(), 0777) != 0)
        fallar(Err::ErrorAccesoRuta, QStringLiteral("%1 (%2)").arg(limpia, DescripcionFalloSistema(errno)));
}

bool ExisteRuta(const QString& ruta) {
    if (ruta.isEmpty()) return false;
    QString limpia = ruta;
    while (limpia.size() > 1 && limpia.endsWith(QLatin1Char('/'))) limpia.chop(1);
    if (QFileInfo::exists(limpia)) return true;
    // A path whose first folder below the root is missing stands for a drive
    // that does not exist: the old runtime could not even list it (52).
    const QString absoluta = QFileInfo(limpia).absoluteFilePath();
    const QString primera = QLatin1Char('/') + absoluta.section(QLatin1Char('/'), 1, 1);
    if (!QFileInfo::exists(primera)) Lanzar(Err::ArchivoIncorrecto);
    return false;
}

void DoEvents() {
    Archivos::VaciarDiferidos();
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void DoEventsEspaciado::operator()() {
    const auto ahora = std::chrono::steady_clock::now();
    if (ahora - ultimo_ < intervalo_) return;
    ultimo_ = ahora;
    DoEvents();
}

void FinalizarPrograma(int codigoSalida) {
    if (Finalizador()) Finalizador()(codigoSalida);
    std::fflush(nullptr);
    std::exit(codigoSalida);
}

void EstablecerFinalizador(std::function<void(int)> finalizador) {
    Finalizador() = std::move(finalizador);
}

}  // namespace platform::runtime
