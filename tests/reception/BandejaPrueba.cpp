#include "BandejaPrueba.h"

#include <QFile>

namespace pruebas {

BandejaPrueba::BandejaPrueba(const QString& raiz, const QString& cuenta)
    : carpeta_(raiz + QLatin1Char('/') + cuenta + QStringLiteral("/Bandeja de entrada")) {
    for (const char* sub : {"cur", "new", "tmp"}) QDir().mkpath(carpeta_ + QLatin1Char('/') + QLatin1String(sub));
}

QString BandejaPrueba::Agregar(const QByteArray& mensaje, const QDateTime& entrega, const QString& unico) {
    const QString nombre = QStringLiteral("%1.%2.prueba:2,S")
                               .arg(entrega.toSecsSinceEpoch())
                               .arg(unico.isEmpty() ? QStringLiteral("M%1").arg(++siguiente_) : unico);
    const QString ruta = carpeta_ + QStringLiteral("/cur/") + nombre;
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly)) f.write(mensaje);
    return ruta;
}

QByteArray MensajeTexto(const QString& asunto, const QString& de, const QString& cuerpo,
                        const QByteArray& cabecerasExtra) {
    return "From: " + de.toUtf8() + "\r\nTo: ventas@demo.test\r\nSubject: " + asunto.toUtf8() +
           "\r\nMessage-ID: <" + QByteArray::number(qHash(asunto + de)) + "@prueba>\r\n" + cabecerasExtra +
           "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=utf-8\r\n"
           "Content-Transfer-Encoding: 8bit\r\n\r\n" + cuerpo.toUtf8() + "\r\n";
}

}  // namespace pruebas
