#pragma once
// A private Dovecot IMAP server for one test program, on 127.0.0.1 and a free
// port, with one user; and a tiny client that appends messages with their
// arrival time.
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

namespace pruebas {

class Dovecot {
public:
    static constexpr const char* Usuario = "ana";
    static constexpr const char* Clave = "secreta";

    Dovecot();
    ~Dovecot();
    Dovecot(const Dovecot&) = delete;
    Dovecot& operator=(const Dovecot&) = delete;

    bool Listo() const { return fallo_.isEmpty(); }
    QString Fallo() const { return fallo_; }
    int Puerto() const { return puerto_; }
    // IMAP APPEND to INBOX with that INTERNALDATE; empty on success, else why not.
    QString Agregar(const QByteArray& mensaje, const QDateTime& llegada) const;

private:
    // Outside the test program's private temporary folder: the server's
    // processes run as the dovecot user and must reach it.
    QTemporaryDir dir_{QStringLiteral("/tmp/dovecot-prueba-XXXXXX")};
    int puerto_ = 0;
    qint64 pid_ = 0;
    QString fallo_;
};

// The one server of the test program, started on first use.
Dovecot& DovecotCompartido();

// A port on 127.0.0.1 nothing listens on right now.
int PuertoLibre();

}  // namespace pruebas
