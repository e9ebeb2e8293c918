#pragma once
// The embedded engine: one SQLite file per database, created from its schema
// when missing, WAL mode so another process can read while we import.
#include "platform/db/Conexion.h"

#include <QHash>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::db {

class ConexionSqlite : public Conexion {
public:
    // The schema SQL for a new file of the named database ("" = none).
    using ProveedorEsquema = std::function<QString(const QString& base)>;

    // Opens (and when missing, creates) the file. Raises ErrorSistema with a
    // Spanish description naming the file and the reason.
    ConexionSqlite(const QString& archivo, const QString& base, const ProveedorEsquema& esquema,
                   long tiempoEspera);
    ~ConexionSqlite() override;

    void Ejecutar(const QString& sql) override;
    std::unique_ptr<Cursor> AbrirCursor(const QString& sql, const QList<Valor>& parametros,
                                        bool actualizable) override;
    void Close() override;
    bool Abierta() const override { return db_ != nullptr; }
    QString Motor() const override { return QStringLiteral("SQLite"); }
    void SetCommandTimeout(long segundos) override;

    QString Archivo() const { return archivo_; }
    // True when this connection made the file (it did not exist before).
    bool Creada() const { return creada_; }

    // For the cursors: a prepared statement, from the cache when free.
    sqlite3_stmt* Preparar(const QString& sql, bool& deCache);
    void Devolver(sqlite3_stmt* stmt, bool deCache);
    sqlite3* Db() const { return db_; }
    // Maps the last SQLite error onto a native number and a description.
    ErrorBaseDatos ErrorActual(int rc) const;

private:
    void ExigirAbierta() const;
    void CrearDesdeEsquema(const QString& esquema);

    sqlite3* db_ = nullptr;
    QString archivo_;
    bool creada_ = false;
    struct EnCache {
        sqlite3_stmt* stmt;
        bool enUso;
    };
    QHash<QString, EnCache> cache_;
    QHash<QString, QStringList> traducciones_;
};

}  // namespace platform::db
