#pragma once
// Turns statements written in the SQL Server dialect into the form SQLite
// and MariaDB take.
// The lexer never looks inside string literals, so text from mail that
// happens to read "with(nolock)" or "TOP 5" reaches the table unchanged.
#include <QString>
#include <QStringList>

namespace platform::db {

// One batch in, its statements out (split at ";" and line breaks outside
// literals and parentheses; empty ones dropped).
//   with(nolock)                        -> nothing
//   TOP n / TOP (n) after SELECT        -> LIMIT n at the end of that query
//   BEGIN/COMMIT/ROLLBACK TRAN[SACTION] -> BEGIN/COMMIT/ROLLBACK
//   N'...'                              -> '...'
// For MariaDB also
//   LIKE '[%]a[_]b[[]\'                -> LIKE '\%a\_b[\\' ESCAPE '\'
//   (MariaDB has no bracket classes, and a backslash is its default escape;
//   with the statement's own ESCAPE 'c', c takes the backslash's place)
// (the embedded engine's LIKE reads the brackets itself).
// getDate() is left as it is: the engine defines the function itself.
enum class Destino { Integrada, MariaDb };
QStringList TraducirLote(const QString& lote, Destino destino = Destino::Integrada);
// The same statements, split alike but left as written (for an engine that
// speaks the dialect itself).
QStringList DividirLote(const QString& lote);

// The first word of a statement, upper-case ("SELECT", "EXEC", ...).
QString PrimeraPalabra(const QString& sentencia);

}  // namespace platform::db
