#include "platform/runtime/Archivos.h"

#include "platform/runtime/ErrorSistema.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <map>
#include <memory>

namespace platform::runtime::Archivos {

namespace {
constexpr int Maximo = 255;

struct Abierto {
    std::unique_ptr<QFile> archivo;
    QString ruta;
    bool diferido = false;
};

std::map<int, Abierto>& Tabla() {
    static std::map<int, Abierto> tabla;
    return tabla;
}

QString Normalizada(const QString& ruta) {
    const QFileInfo info(ruta);
    return info.absoluteFilePath();
}

Abierto& Entrada(int numero) {
    auto it = Tabla().find(numero);
    if (it == Tabla().end()) Lanzar(Err::ArchivoIncorrecto);
    return it->second;
}
}  // namespace

int Libre() {
    for (int n = 1; n <= Maximo; ++n)
        if (!Tabla().count(n)) return n;
    Lanzar(Err::DemasiadosArchivos);
}

void Abrir(int numero, const QString& ruta, Modo modo) {
    if (numero < 1 || numero > Maximo) Lanzar(Err::ArchivoIncorrecto);
    if (Tabla().count(numero)) Lanzar(Err::ArchivoYaAbierto);
    const QString clave = Normalizada(ruta);
    for (const auto& [n, a] : Tabla())
        if (a.ruta == clave) Lanzar(Err::ArchivoYaAbierto);
    if (ruta.isEmpty()) Lanzar(Err::ArchivoIncorrecto);
    auto archivo = std::make_unique<QFile>(ruta);
    QIODevice::OpenMode m = QIODevice::WriteOnly;
    if (modo == Modo::Append) m = QIODevice::Append;
    if (modo == Modo::Input) m = QIODevice::ReadOnly;
    if (!archivo->open(m)) {
        Lanzar(modo == Modo::Input && !QFileInfo::exists(ruta) ? Err::ArchivoNoEncontrado
                                                                : Err::ErrorAccesoRuta);
    }
    Tabla()[numero] = Abierto{std::move(archivo), clave};
}

void Escribir(int numero, const QString& texto) {
    Abierto& a = Entrada(numero);
    const QByteArray bytes = texto.toUtf8();
    if (a.archivo->write(bytes) != bytes.size()) Lanzar(Err::ErrorEntradaSalida);
    if (!a.diferido) a.archivo->flush();
}

void Diferir(int numero) { Entrada(numero).diferido = true; }

void VaciarDiferidos() {
    for (auto& [n, a] : Tabla())
        if (a.diferido) a.archivo->flush();
}

void EscribirLinea(int numero, const QString& texto) {
    Escribir(numero, texto + QStringLiteral("\r\n"));
}

void Cerrar(int numero) {
    Tabla().erase(numero);
}

void CerrarTodos() {
    Tabla().clear();
}

bool EstaAbierto(int numero) {
    return Tabla().count(numero) != 0;
}

QString Ruta(int numero) {
    auto it = Tabla().find(numero);
    return it == Tabla().end() ? QString() : it->second.ruta;
}

}  // namespace platform::runtime::Archivos
