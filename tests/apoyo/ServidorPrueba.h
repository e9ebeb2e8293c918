#pragma once
// A real SMTP server for the tests (tests/data/servidor_smtp.py) on
// 127.0.0.1 and a free port, with what it received read back from its folder.
#include "platform/runtime/ErrorSistema.h"
#include "platform/smtp/Mensaje.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace pruebas {

// A self-signed certificate for 127.0.0.1, made once per test program.
struct Certificado {
    QString certificado;  // also the CA file the client is told to trust
    QString clave;
};
const Certificado& CertificadoPrueba();

struct Recibido {
    QJsonObject sobre;  // envelope, and the message as Python's parser reads it
    QByteArray crudo;   // the data exactly as received
};

class ServidorSmtp {
public:
    struct Opciones {
        QString usuario{};  // when set, AUTH is required with this user and clave
        QString clave{};
        QString tls = QStringLiteral("no");  // "no", "starttls" or "implicito"
    };

    explicit ServidorSmtp(const Opciones& opciones);
    ServidorSmtp() : ServidorSmtp(Opciones{}) {}
    ~ServidorSmtp();

    bool Listo() const { return puerto_ > 0; }
    QString Fallo() const { return fallo_; }
    int Puerto() const { return puerto_; }

    QList<Recibido> Recibidos() const;
    int Conexiones() const;
    // How it answers from its next connection on (see servidor_smtp.py);
    // an empty object puts it back to accepting everything.
    void Comportamiento(const QJsonObject& comportamiento);

private:
    QTemporaryDir carpeta_;
    QProcess proceso_;
    int puerto_ = 0;
    QString fallo_;
};

// A port on 127.0.0.1 that nobody listens on.
int PuertoCerrado();

// The seven fields as the sender writes them, put into effect.
struct Cuenta {
    QString servidor = QStringLiteral("127.0.0.1");
    int puerto = 0;
    bool ssl = false;
    QString usuario{};  // authenticates when set
    QString clave{};
};
std::shared_ptr<platform::smtp::Configuracion> ConfiguracionPara(const Cuenta& cuenta);

// Sends and returns the error raised, number 0 when it went out.
platform::runtime::ErrorSistema ErrorAlEnviar(platform::smtp::Mensaje& mensaje);

}  // namespace pruebas
