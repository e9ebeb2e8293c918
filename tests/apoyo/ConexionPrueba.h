#pragma once
// A connection for tests: the real embedded database behind it, every
// statement recorded, and chosen answers in place of the server's.
#include "platform/db/Conexion.h"
#include "platform/db/Recordset.h"
#include "components/AccesoDatos.h"

#include <QPair>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace pruebas {

// A cursor over rows given by the test.
class CursorFijo : public platform::db::Cursor {
public:
    CursorFijo(QStringList columnas, QList<QList<platform::db::Valor>> filas)
        : columnas_(std::move(columnas)), filas_(std::move(filas)) {}
    const QStringList& Columnas() const override { return columnas_; }
    bool Siguiente(QList<platform::db::Valor>& fila) override {
        if (filas_.isEmpty()) return false;
        fila = filas_.takeFirst();
        return true;
    }

private:
    QStringList columnas_;
    QList<QList<platform::db::Valor>> filas_;
};

// Every statement recorded, and chosen answers in place of the server's.
class ConexionPrueba : public platform::db::Conexion {
public:
    explicit ConexionPrueba(std::unique_ptr<platform::db::Conexion> real) : real_(std::move(real)) {}

    QStringList sentencias;  // everything given, in order
    QStringList enviadas;    // Ejecutar, in order
    QStringList consultas;   // AbrirCursor, in order
    // Statements that begin with the text get this error and are not run.
    QList<QPair<QString, platform::db::ErrorBaseDatos>> respuestas;
    // When set, any other EXEC succeeds, as on a server that has the procedure.
    bool procedimientosExisten = false;
    // When it gives a cursor for a query, that is the answer.
    std::function<std::unique_ptr<platform::db::Cursor>(const QString&)> sustituto;

    void Ejecutar(const QString& sql) override {
        sentencias << sql;
        enviadas << sql;
        for (const auto& [inicio, error] : respuestas)
            if (sql.startsWith(inicio)) {
                errores_.Clear();
                errores_.Agregar(error);
                return;
            }
        if (procedimientosExisten && sql.trimmed().startsWith(QStringLiteral("EXEC"))) {
            errores_.Clear();
            return;
        }
        real_->Ejecutar(sql);
        errores_ = real_->Errors();
    }
    std::unique_ptr<platform::db::Cursor> AbrirCursor(const QString& sql, const QList<platform::db::Valor>& p,
                                                      bool actualizable) override {
        sentencias << sql;
        consultas << sql;
        if (sustituto)
            if (auto c = sustituto(sql)) return c;
        try {
            return real_->AbrirCursor(sql, p, actualizable);
        } catch (...) {
            errores_ = real_->Errors();
            throw;
        }
    }
    void Close() override { real_->Close(); }
    bool Abierta() const override { return real_->Abierta(); }
    QString Motor() const override { return real_->Motor(); }

private:
    std::unique_ptr<platform::db::Conexion> real_;
};

// The rows of a query as column → value maps.
inline QList<QVariantMap> FilasDe(components::AccesoDatos& datos, const QString& sql) {
    platform::db::Recordset rs;
    rs.Open(sql, datos.Conexion());
    QList<QVariantMap> filas;
    for (; !rs.Eof(); rs.MoveNext()) {
        QVariantMap fila;
        for (int i = 0; i < rs.FieldCount(); ++i) fila[rs.FieldName(i)] = rs.Fields(rs.FieldName(i)).Value();
        filas << fila;
    }
    return filas;
}

}  // namespace pruebas
