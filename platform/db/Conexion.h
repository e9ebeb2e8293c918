#pragma once
// The engine boundary. A Conexion is one open database; every engine
// (the embedded one, and ODBC servers later) implements it, and callers
// see only this interface, Recordset and Errores.
#include "platform/db/Errores.h"
#include "platform/db/Valor.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace platform::db {

// The old access layer's isolation levels.
namespace Aislamiento {
constexpr long Caos = 16;
constexpr long LecturaNoConfirmada = 256;
constexpr long LecturaConfirmada = 4096;
constexpr long LecturaRepetible = 65536;
constexpr long Serializable = 1048576;
}  // namespace Aislamiento

// Rows of one query, produced by the engine.
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual const QStringList& Columnas() const = 0;
    // The next row, or false at the end.
    virtual bool Siguiente(QList<Valor>& fila) = 0;

    // Updatable cursors (single-table SELECT) also give a key per row and
    // write through bound parameters. Others raise 3251 (not supported).
    virtual bool Actualizable() const { return false; }
    virtual Valor ClaveFila() const { return Nulo(); }
    // Inserts and returns the new row as stored (defaults and identity filled).
    virtual QList<Valor> Insertar(const QStringList& columnas, const QList<Valor>& valores);
    virtual void Modificar(const Valor& clave, const QStringList& columnas,
                           const QList<Valor>& valores);
};

class Conexion {
public:
    virtual ~Conexion() = default;

    // Runs a statement or a batch in the SQL Server dialect. The error
    // collection is cleared first and receives what the database reports;
    // database errors never raise. A closed connection raises 3704.
    virtual void Ejecutar(const QString& sql) = 0;
    // Opens a cursor. Database errors fill the collection and raise
    // -2147217900 with the first error's description.
    virtual std::unique_ptr<Cursor> AbrirCursor(const QString& sql, const QList<Valor>& parametros,
                                                bool actualizable) = 0;
    virtual void Close() = 0;
    virtual bool Abierta() const = 0;
    // Engine text; holds "oracle" for Oracle.
    virtual QString Motor() const = 0;

    Errores& Errors() { return errores_; }
    const Errores& Errors() const { return errores_; }

    long CommandTimeout() const { return tiempoEspera_; }
    virtual void SetCommandTimeout(long segundos) { tiempoEspera_ = segundos; }
    long IsolationLevel() const { return aislamiento_; }
    virtual void SetIsolationLevel(long nivel) { aislamiento_ = nivel; }
    QString DefaultDatabase() const { return baseDefecto_; }
    virtual void SetDefaultDatabase(const QString& base) { baseDefecto_ = base; }

protected:
    Errores errores_;
    long tiempoEspera_ = 30;
    long aislamiento_ = 4096;  // read committed, the old default
    QString baseDefecto_;
};

}  // namespace platform::db
