#include "ApoyoPruebas.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace pruebas {

VariableEntorno::VariableEntorno(const char* nombre, const QString& valor)
    : nombre_(nombre), anterior_(qgetenv(nombre)), habia_(qEnvironmentVariableIsSet(nombre)) {
    if (valor.isNull()) qunsetenv(nombre);
    else qputenv(nombre, valor.toUtf8());
}

VariableEntorno::~VariableEntorno() {
    if (habia_) qputenv(nombre_.constData(), anterior_);
    else qunsetenv(nombre_.constData());
}

QString Python() {
    const QString elegido = qEnvironmentVariable("RECEPCION_PYTHON");
    if (!elegido.isEmpty()) return elegido;
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}

QByteArray LeerArchivo(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QByteArray Esperado(const QString& nombre) {
    const QString ruta = QStringLiteral(RUTA_DATOS_PRUEBA "/esperado/") + nombre;
    if (!QFile::exists(ruta)) ADD_FAILURE() << "falta el archivo esperado " << ruta.toStdString();
    return LeerArchivo(ruta);
}

QString CarpetaCorreo() { return QStringLiteral(RUTA_DATOS_PRUEBA "/correo"); }

QByteArray Correo(const QString& nombre) {
    const QString ruta = CarpetaCorreo() + QLatin1Char('/') + nombre;
    if (!QFile::exists(ruta)) ADD_FAILURE() << "falta el correo " << ruta.toStdString();
    return LeerArchivo(ruta);
}

void EscribirArchivo(const QString& ruta, const QByteArray& contenido) {
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly)) f.write(contenido);
}

QStringList ArchivosBajo(const QString& carpeta) {
    QStringList archivos;
    QDirIterator it(carpeta, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) archivos << QDir(carpeta).relativeFilePath(it.next());
    archivos.sort();
    return archivos;
}

}  // namespace pruebas
