#pragma once
// A real Maildir written by the test into a temporary folder:
// <raiz>/<cuenta>/Bandeja de entrada/{cur,new,tmp}.
#include "platform/mail/Aplicacion.h"
#include "platform/runtime/ErrorSistema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace pruebas {

class BuzonPrueba {
public:
    explicit BuzonPrueba(const QString& bandeja = QStringLiteral("Bandeja de entrada"))
        : bandeja_(dir_.filePath(QStringLiteral("cuenta@prueba.test/") + bandeja)) {
        for (const char* sub : {"cur", "new", "tmp"})
            QDir().mkpath(bandeja_ + u'/' + QLatin1String(sub));
    }

    QString Raiz() const { return dir_.path(); }
    QString Bandeja() const { return bandeja_; }

    // Writes a message file; the name is bytes, as the file system keeps it.
    QString Escribir(const QByteArray& nombre, const QByteArray& crudo, const char* sub = "cur") {
        const QByteArray ruta = QFile::encodeName(bandeja_) + '/' + sub + '/' + nombre;
        QFile f(QFile::decodeName(ruta));
        if (f.open(QIODevice::WriteOnly)) f.write(crudo);
        return f.fileName();
    }

    platform::mail::Elementos Items() const {
        return platform::mail::Aplicacion(Raiz())
            .GetNamespace(QStringLiteral("MAPI"))
            .Folders(QStringLiteral("cuenta@prueba.test"))
            .Folders(QStringLiteral("Bandeja de entrada"))
            .Items();
    }

    // The store's item for one message written alone into the inbox.
    platform::mail::Elemento Unico(const QByteArray& crudo) {
        Escribir("1700000000.M1P1.prueba:2,S", crudo);
        return Items().Item(1);
    }

private:
    QTemporaryDir dir_;
    QString bandeja_;
};

inline long NumeroDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::runtime::ErrorSistema& e) {
        return e.Numero;
    }
    return 0;
}

// A message with the given headers and body, lines ended with CRLF.
inline QByteArray Mensaje(const QByteArray& cabeceras, const QByteArray& cuerpo = "hola\n") {
    QByteArray m = cabeceras.trimmed() + "\n\n" + cuerpo;
    return m.replace("\r\n", "\n").replace("\n", "\r\n");
}

}  // namespace pruebas
