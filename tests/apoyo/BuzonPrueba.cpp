#include "BuzonPrueba.h"

#include <QDir>
#include <QFile>

namespace pruebas {

BuzonPrueba::BuzonPrueba(const QString& raiz, const QString& cuenta, const QString& bandeja)
    : propia_(raiz.isEmpty() ? std::make_shared<QTemporaryDir>() : nullptr),
      raiz_(raiz.isEmpty() ? propia_->path() : raiz),
      cuenta_(cuenta),
      bandeja_(raiz_ + QLatin1Char('/') + cuenta + QLatin1Char('/') + bandeja) {
    for (const char* sub : {"cur", "new", "tmp"}) QDir().mkpath(bandeja_ + QLatin1Char('/') + QLatin1String(sub));
}

QString BuzonPrueba::Escribir(const QByteArray& nombre, const QByteArray& crudo, const char* sub) {
    const QByteArray ruta = QFile::encodeName(bandeja_) + '/' + sub + '/' + nombre;
    QFile f(QFile::decodeName(ruta));
    if (f.open(QIODevice::WriteOnly)) f.write(crudo);
    return f.fileName();
}

QString BuzonPrueba::Agregar(const QByteArray& crudo, const QDateTime& entrega, const QString& unico) {
    const QString nombre = QStringLiteral("%1.%2.prueba:2,S")
                               .arg(entrega.toSecsSinceEpoch())
                               .arg(unico.isEmpty() ? QStringLiteral("M%1").arg(++siguiente_) : unico);
    const QString ruta = Escribir(QFile::encodeName(nombre), crudo);
    // The received time is the file's modification time.
    QFile f(ruta);
    if (f.open(QIODevice::ReadWrite)) f.setFileTime(entrega, QFileDevice::FileModificationTime);
    return ruta;
}

QByteArray Mensaje(const QByteArray& cabeceras, const QByteArray& cuerpo) {
    QByteArray m = cabeceras.trimmed() + "\n\n" + cuerpo;
    return m.replace("\r\n", "\n").replace("\n", "\r\n");
}

QByteArray MensajeTexto(const QString& asunto, const QString& de, const QString& cuerpo,
                        const QByteArray& cabecerasExtra) {
    return "From: " + de.toUtf8() + "\r\nTo: ventas@demo.test\r\nSubject: " + asunto.toUtf8() +
           "\r\nMessage-ID: <" + QByteArray::number(qHash(asunto + de)) + "@prueba>\r\n" + cabecerasExtra +
           "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=utf-8\r\n"
           "Content-Transfer-Encoding: 8bit\r\n\r\n" + cuerpo.toUtf8() + "\r\n";
}

}  // namespace pruebas
