#include "reception/ProveedoresCorreo.h"

#include "platform/runtime/Texto.h"
namespace reception {

namespace {

bool Es(const QString& eleccion, const char* nombre) {
    return platform::runtime::IgualSinCaso(eleccion, nombre);
}

// "host:puerto" with a port of digits only. Anything else, an IPv6
// address among them, is taken as a host name and left to the sender.
bool SepararPuerto(const QString& texto, QString& host, QString& puerto) {
    if (texto.count(QLatin1Char(':')) != 1) return false;
    const qsizetype dos = texto.indexOf(QLatin1Char(':'));
    const QString numero = texto.mid(dos + 1).trimmed();
    if (numero.isEmpty()) return false;
    for (const QChar c : numero)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    host = texto.left(dos).trimmed();
    puerto = numero;
    return true;
}

}  // namespace

ProveedorSmtp ElegirProveedor(const QString& eleccion, const QString& servidorOtro) {
    if (Es(eleccion, "Hotmail"))
        return {QString::fromLatin1(ServidorHotmail), QStringLiteral("25"), true};
    if (Es(eleccion, "Gmail"))
        return {QString::fromLatin1(ServidorGmail), QStringLiteral("465"), true};
    if (Es(eleccion, "Otro")) {
        // Many servers take mail only on 587 or 465, so "Otro" may name its port.
        ProveedorSmtp otro{servidorOtro, QStringLiteral("25"), false};
        SepararPuerto(servidorOtro, otro.servidor, otro.puerto);
        return otro;
    }
    return {};
}

}  // namespace reception
