#include "reception/MensajeFallido.h"

#include "common/ReportarError.h"
#include "reception/EstadoPrograma.h"
#include "reception/ResultadoRecepcion.h"

#include <QDir>
#include <QFile>

namespace reception {

namespace {
const QString Rutina = QStringLiteral("LeerOutlook");

QString Error(const platform::runtime::ErrorSistema& e) {
    return QStringLiteral("error %1: %2").arg(e.Numero).arg(e.Descripcion);
}
}  // namespace

void IntentoMensaje::Deshacer() {
    for (const QString& archivo : archivos) QFile::remove(archivo);
    archivos.clear();
    if (!carpetaCreada.isEmpty()) QDir().rmdir(carpetaCreada);
    carpetaCreada.clear();
}

void PasarPorAlto(const QString& cuenta, const QString& entrada, const platform::runtime::ErrorSistema& error,
                  IntentoMensaje& intento) {
    intento.Deshacer();
    ++Resultado().pasados;
    const int fallos = AnotarFallo(cuenta, entrada);
    const QString intentos = fallos > 0 ? QStringLiteral(" (intento %1 de %2)").arg(fallos).arg(IntentosAntesDeApartar)
                                        : QStringLiteral(" (no se pudo contar el intento en %1)").arg(ArchivoEstado());
    common::AnotarAviso(QStringLiteral("Cuenta %1: mensaje %2 no importado, se sigue con el siguiente; %3%4")
                            .arg(cuenta, entrada, Error(error), intentos),
                        Rutina);
    if (fallos == IntentosAntesDeApartar)
        common::AnotarAviso(QStringLiteral("Cuenta %1: mensaje %2 apartado tras %3 intentos fallidos; no se intentará "
                                           "de nuevo hasta ejecutar recepcion-email --reintentar %1")
                                .arg(cuenta, entrada)
                                .arg(fallos),
                            Rutina);
}

void AnotarFalloTrasGuardar(const QString& cuenta, const QString& entrada,
                            const platform::runtime::ErrorSistema& error) {
    ++Resultado().pasados;
    common::AnotarAviso(QStringLiteral("Cuenta %1: mensaje %2 guardado, pero sus órdenes no terminaron; %3")
                            .arg(cuenta, entrada, Error(error)),
                        Rutina);
}

void AnotarNoEsCorreo(const QString& cuenta, const QString& entrada, const QString& ruta) {
    ++Resultado().noSonCorreo;
    if (!PrimeraVezNoEsCorreo(cuenta, entrada)) return;
    common::AnotarAviso(
        QStringLiteral("Cuenta %1: el archivo %2 del buzón no es un mensaje de correo y no se importa").arg(cuenta, ruta),
        Rutina);
}

void AnotarOmitidos(const QString& cuenta, const QStringList& omitidos) {
    if (omitidos.isEmpty()) return;
    common::AnotarAviso(QStringLiteral("Cuenta %1: %2 entradas del buzón no son archivos normales y no se leen: %3")
                            .arg(cuenta)
                            .arg(omitidos.size())
                            .arg(omitidos.join(QStringLiteral(", "))),
                        Rutina);
}

}  // namespace reception
