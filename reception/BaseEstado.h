#pragma once
// Short-lived handles on the program's own state file (estado.db), shared
// by the tables kept there. Every failure raises ErrorSistema (path access
// error) naming the file; callers decide what a missing state costs.
#include <QString>
#include <QVariantList>

#include <sqlite3.h>

#include <memory>

namespace reception::estado {

struct CerrarBase {
    void operator()(sqlite3* b) const { sqlite3_close(b); }
};
using Base = std::unique_ptr<sqlite3, CerrarBase>;

struct CerrarSentencia {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Sentencia = std::unique_ptr<sqlite3_stmt, CerrarSentencia>;

// Opened for each use: several programs may share the data folder, and a
// short-lived handle never keeps another one waiting. Creates the tables.
Base Abrir();

// One statement with its values bound in order (text, integer or null).
Sentencia Preparar(sqlite3* b, const char* sql, const QVariantList& valores = {});
void Ejecutar(sqlite3* b, const char* sql, const QVariantList& valores = {});
// Opens the file and runs one statement there, for state whose loss costs
// no more than it would have saved: the rows it changed, -1 when the file
// could not be used. Never raises.
int EjecutarSiSePuede(const char* sql, const QVariantList& valores = {});
// One step of a query: true for a row, false at its end.
bool Fila(sqlite3* b, sqlite3_stmt* s);
QString Texto(sqlite3_stmt* s, int columna);

// Under one write lock, so two programs never take the same row.
class Transaccion {
public:
    explicit Transaccion(sqlite3* b);
    ~Transaccion();
    void Confirmar();

private:
    sqlite3* b_;
    bool hecha_ = false;
};

// This process, as written in the rows it holds.
qint64 Proceso();
// A row held by a process that has ended is held by nobody.
bool Vivo(sqlite3_stmt* s, int columna);

}  // namespace reception::estado
