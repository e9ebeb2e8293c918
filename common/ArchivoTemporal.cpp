#include "common/ArchivoTemporal.h"

#include "common/Contexto.h"
#include "common/FechaServidor.h"
#include "common/ReportarError.h"
#include "platform/runtime/Archivos.h"
#include "platform/runtime/Pasos.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace common {

using namespace platform;
namespace Archivos = runtime::Archivos;

namespace {

// The one temporary file of the module; every create overwrites it.
struct RegistroTemporal {
    QString ruta;
    std::int16_t numero = 0;
};

RegistroTemporal& Registro() {
    static RegistroTemporal registro;
    return registro;
}

void EscribirLinea(const QString& linea) {
    const RegistroTemporal& r = Registro();
    // Lines of a text trace end CR CR LF; a spreadsheet wants plain CR LF.
    if (r.ruta.right(3).compare(QStringLiteral("xls"), Qt::CaseInsensitive) == 0)
        Archivos::EscribirLinea(r.numero, linea);
    else
        Archivos::EscribirLinea(r.numero, linea + QLatin1Char('\r'));
}

void Borrar(const QString& ruta) {
    if (QFile::remove(ruta)) return;
    runtime::Lanzar(QFileInfo::exists(ruta) ? runtime::Err::ErrorAccesoRuta
                                            : runtime::Err::ArchivoNoEncontrado);
}

}  // namespace

void ArchivoTemporal(std::int16_t& accion, const QString& linea, QString& extension, QString& ruta) {
    RegistroTemporal& r = Registro();
    int yaAbierto = 0;  // 55s met in this call
    const runtime::Manejador manejador = [&](const runtime::ErrorSistema& e) {
        if (e.Numero == runtime::Err::ArchivoYaAbierto) {
            Archivos::Cerrar(r.numero);
            return ++yaAbierto < 3 ? runtime::Accion::Reintentar : runtime::Accion::Salir;
        }
        if (e.Numero == runtime::Err::ArchivoIncorrecto) {
            Archivos::Cerrar(r.numero);
            return runtime::Accion::Salir;
        }
        return runtime::AccionPorRespuesta(ReportarError(e));
    };

    QString archivo;
    bool completo = true;
    switch (accion) {
    case 1:
        completo = runtime::EjecutarPasos(manejador, {
            [&] { r.numero = static_cast<std::int16_t>(Archivos::Libre()); },
            [&] { r.ruta = QString(); },
            [&] { if (!extension.startsWith(QLatin1Char('.'))) extension = QLatin1Char('.') + extension; },
            [&] {
                if (ruta.compare(QString(), Qt::CaseInsensitive) != 0)
                    archivo = ruta;
                else
                    archivo = CarpetaTrazas() + Ahora().toString(QStringLiteral("HHmmss")) + extension;
            },
            [&] { r.ruta = archivo; },
            [&] { Archivos::Abrir(r.numero, r.ruta, Archivos::Modo::Output); },
            // A line per message would cost a system write each.
            [&] { Archivos::Diferir(r.numero); },
            [&] { if (!linea.trimmed().isEmpty()) EscribirLinea(linea); },
        });
        break;
    case 2:
        completo = runtime::EjecutarPasos(manejador, {[&] { EscribirLinea(linea); }});
        break;
    case 3:
        completo = runtime::EjecutarPasos(manejador, {
            [&] { Archivos::Cerrar(r.numero); },
            [&] { AbrirArchivo(r.ruta, true); },
        });
        break;
    case 4:
        completo = runtime::EjecutarPasos(manejador, {
            [&] { Archivos::Cerrar(r.numero); },
            [&] { Borrar(r.ruta); },
        });
        break;
    default:
        // The path is asked for to read the file: what it holds goes out first.
        Archivos::VaciarDiferidos();
        break;
    }
    if (completo) ruta = r.ruta;
}

QString CarpetaTrazas() {
    // A folder of its own, so traces do not pile up loose in the shared temp folder.
    const QString carpeta = CarpetaTemporal() + QStringLiteral("recepcion-email/");
    QDir().mkpath(carpeta);
    return carpeta;
}

void BorrarTrazasViejas(const QDateTime& ahora) {
    const QDir carpeta(CarpetaTemporal() + QStringLiteral("recepcion-email"));
    const QDateTime limite = ahora.addDays(-7);
    for (const QFileInfo& f : carpeta.entryInfoList(QDir::Files))
        if (f.lastModified() < limite) QFile::remove(f.filePath());
}

void Traza(std::int16_t accion, const QString& linea) {
    QString extension = QStringLiteral(".txt");
    QString ruta;
    ArchivoTemporal(accion, linea, extension, ruta);
}

void CerrarTraza() {
    if (Registro().numero != 0) Archivos::Cerrar(Registro().numero);
}

void AbrirArchivo(const QString& ruta, bool bandera) {
    QString documento = ruta;
    if (!documento.contains(QLatin1Char('"')) && documento.contains(QLatin1Char(' ')))
        documento = QLatin1Char('"') + documento + QLatin1Char('"');
    const int modo = bandera ? 6 : 0;  // minimised without focus, or hidden
    long resultado = 0;
    Equipo().EjecutarArchivo(0, QString(), documento, QString(), QString(), modo, resultado);
}

}  // namespace common
