#pragma once
// A server database over ODBC: SQL Server through FreeTDS, MariaDB, or any
// data source of odbc.ini. SQL Server takes the program's SQL as it is; for
// MariaDB it is translated as for the embedded engine. Native error numbers
// of MariaDB are given as SQL Server's, so callers test one set.
#include "platform/db/Conexion.h"
#include "platform/db/Odbc.h"

#include <QHash>

namespace platform::db {

class ConexionOdbc : public Conexion {
public:
    enum class Dialecto { SqlServer, MariaDb, Otro };

    // Connects with the ODBC string; nombre is how the message names the
    // server when it cannot be reached (raises ErrorSistema in Spanish).
    ConexionOdbc(const QString& cadena, const QString& nombre, long tiempoEspera);
    ~ConexionOdbc() override;

    void Ejecutar(const QString& sql) override;
    std::unique_ptr<Cursor> AbrirCursor(const QString& sql, const QList<Valor>& parametros,
                                        bool actualizable) override;
    void Close() override;
    bool Abierta() const override { return static_cast<bool>(dbc_); }
    QString Motor() const override { return motor_; }
    void SetCommandTimeout(long segundos) override;
    void SetIsolationLevel(long nivel) override;
    void SetDefaultDatabase(const QString& base) override;

    Dialecto Tipo() const { return dialecto_; }

    // What the catalogue says of one table, read once.
    struct Tabla {
        QString clave;           // identity column, else the one-column primary key
        bool identidad = false;  // the key is filled by the server
        QHash<QString, long> tamanos;  // lower-case column -> characters (0: no limit)
    };
    const Tabla& InfoTabla(const QString& nombre);

    // For the cursors: runs one statement with its parameters on a new
    // handle. On failure the collection is filled and ErrorSistema raised.
    odbc::Manejador Correr(const QString& sql, const QList<Valor>& parametros);
    // Raises the collection's first error as the access layer does.
    [[noreturn]] void LanzarPrimero();
    void AgregarDiagnosticos(const odbc::Manejador& h);

private:
    void ExigirAbierta() const;
    odbc::Manejador NuevaSentencia();
    // Runs one text; errors go to the collection. Returns whether it ran.
    bool EjecutarUna(const QString& sql);
    QString Recortada(const QString& sentencia);
    // The statements a batch is sent as (MariaDB: one by one, translated).
    QStringList Partir(const QString& lote) const;
    ErrorBaseDatos Traducir(const odbc::Diagnostico& d) const;

    odbc::Manejador dbc_;
    Dialecto dialecto_ = Dialecto::Otro;
    QString motor_;
    QHash<QString, Tabla> tablas_;
};

}  // namespace platform::db
