#pragma once
// A MariaDB server private to one test program: its own data folder, on
// 127.0.0.1 and a free port, started on first use and stopped when the
// program ends. Tests reach it through the ODBC data source Fuente(),
// written to an odbc.ini of its own (ODBCINI is set for this process and
// the programs it starts).
#include <QString>

namespace pruebas {

class ServidorMariaDb {
public:
    // The running server; starts it the first time. When it cannot start,
    // Fallo() says why (a test then fails; it is never skipped).
    static ServidorMariaDb& Instancia();

    bool Listo() const { return fallo_.isEmpty(); }
    const QString& Fallo() const { return fallo_; }
    int Puerto() const { return puerto_; }

    static QString Fuente() { return QStringLiteral("PRUEBA_MARIADB"); }
    // A login with every right, as a workstation's profile would name it.
    static QString Usuario() { return QStringLiteral("ANA"); }
    static QString Password() { return QStringLiteral("clave{de}prueba"); }

    // A new empty database with the shipped schema schema/mariadb/<esquema>.sql
    // ("negocio" or "estadisticas"); a database of that name is replaced.
    // Returns "" or what went wrong.
    QString CrearBase(const QString& nombre, const QString& esquema = QStringLiteral("negocio"));
    // Runs statements as root; returns "" or the first error.
    QString Sql(const QString& sentencias, const QString& base = QString());

    ~ServidorMariaDb();

private:
    ServidorMariaDb();
    void Arrancar();

    QString carpeta_;
    QString fallo_;
    int puerto_ = 0;
    long pid_ = 0;
};

}  // namespace pruebas
