#pragma once
// Statement builders for the business database: a pending field list that
// AgregarCampo fills and ArmarSentencia turns into one INSERT or UPDATE,
// and AdaptarSQL, which rewrites SQL Server text for an Oracle connection.
#include <QList>
#include <QString>
#include <QStringList>

namespace common {

struct CampoSQL {
    QString Nombre;
    QString Valor;  // already SQL: a quoted literal, a number or Null
};

// The module's pending field list; empty until the first AgregarCampo.
QList<CampoSQL>& ListaCampos();

// Adds one column to ListaCampos (primero: start a new list). Removes every
// single quote from valor, in the caller's variable too. "NULL" in any case
// gives the bare word Null; anything else goes through Datos().ValorSQL.
// primero false before any list exists raises 9.
void AgregarCampo(const QString& nombre, QString& valor, const QString& marcador, bool primero);

// Appends an INSERT (actualizar false) or UPDATE of tabla built from campos
// to sentencias, then one empty element. condicion gets " WHERE " in front
// when it has no WHERE. conservar false empties the field list afterwards.
// sentencias without any element raises 9.
void ArmarSentencia(QList<CampoSQL>& campos, QStringList& sentencias, const QString& tabla,
                    bool actualizar, QString& condicion, bool conservar);

// The text unchanged unless Datos is an Oracle connection: then "LEN" becomes
// "LENGTH" and "TOP n *" becomes "* ... WHERE ROWNUM <= n".
QString AdaptarSQL(const QString& texto);

}  // namespace common
