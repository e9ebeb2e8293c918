#pragma once
// A real Maildir written by the test: <raiz>/<cuenta>/<bandeja>/{cur,new,tmp}.
// Without a root it lives in a temporary folder of its own.
#include "platform/mail/Aplicacion.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace pruebas {

class BuzonPrueba {
public:
    explicit BuzonPrueba(const QString& raiz = QString(), const QString& cuenta = QStringLiteral("cuenta@prueba.test"),
                         const QString& bandeja = QStringLiteral("Bandeja de entrada"));

    QString Raiz() const { return raiz_; }
    QString Cuenta() const { return cuenta_; }
    QString Bandeja() const { return bandeja_; }

    // Writes a message file; the name is bytes, as the file system keeps it.
    QString Escribir(const QByteArray& nombre, const QByteArray& crudo, const char* sub = "cur");
    // Writes one message delivered at that time, named as a delivery agent would.
    QString Agregar(const QByteArray& crudo, const QDateTime& entrega, const QString& unico = QString());

    // The inbox as the mail store reads it (only for programs that link it).
    platform::mail::Elementos Items() const {
        return platform::mail::Aplicacion(raiz_)
            .GetNamespace(QStringLiteral("MAPI"))
            .Folders(cuenta_)
            .Folders(QStringLiteral("Bandeja de entrada"))
            .Items();
    }
    // The store's item for one message written alone into the inbox.
    platform::mail::Elemento Unico(const QByteArray& crudo) {
        Escribir("1700000000.M1P1.prueba:2,S", crudo);
        return Items().Item(1);
    }

private:
    std::shared_ptr<QTemporaryDir> propia_;  // shared: a copy writes to the same folder
    QString raiz_;
    QString cuenta_;
    QString bandeja_;
    int siguiente_ = 0;
};

// A message with the given headers and body, lines ended with CRLF.
QByteArray Mensaje(const QByteArray& cabeceras, const QByteArray& cuerpo = "hola\n");

// A plain message with the given headers and text body.
QByteArray MensajeTexto(const QString& asunto, const QString& de, const QString& cuerpo,
                        const QByteArray& cabecerasExtra = {});

}  // namespace pruebas
