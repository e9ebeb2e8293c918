#pragma once
// Rows of one SQLite statement. Updatable cursors carry each row's rowid and
// write back through bound parameters.
#include "platform/db/Conexion.h"

struct sqlite3_stmt;

namespace platform::db {

class ConexionSqlite;

class CursorSqlite : public Cursor {
public:
    // tabla is set for an updatable cursor; its first column is then the rowid.
    CursorSqlite(ConexionSqlite& conexion, sqlite3_stmt* stmt, bool deCache, const QString& tabla);
    ~CursorSqlite() override;

    const QStringList& Columnas() const override { return columnas_; }
    bool Siguiente(QList<Valor>& fila) override;
    bool Actualizable() const override { return !tabla_.isEmpty(); }
    Valor ClaveFila() const override { return clave_; }
    QList<Valor> Insertar(const QStringList& columnas, const QList<Valor>& valores) override;
    void Modificar(const Valor& clave, const QStringList& columnas,
                   const QList<Valor>& valores) override;

    static void Enlazar(sqlite3_stmt* stmt, int indice, const Valor& valor);
    static Valor Leer(sqlite3_stmt* stmt, int columna);

private:
    void Escribir(const QString& sql, const QList<Valor>& valores);

    ConexionSqlite& conexion_;
    sqlite3_stmt* stmt_;
    bool deCache_;
    QString tabla_;
    QStringList columnas_;
    Valor clave_;
    bool terminado_ = false;
};

}  // namespace platform::db
