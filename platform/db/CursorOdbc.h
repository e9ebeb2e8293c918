#pragma once
// Rows of one query on a server. They are read whole when the cursor opens,
// so the connection is free at once for the next statement (SQL Server
// without MARS refuses a second one while rows are pending). An updatable
// cursor carries each row's key and writes back through bound parameters.
#include "platform/db/Conexion.h"

namespace platform::db {

class ConexionOdbc;

class CursorOdbc : public Cursor {
public:
    static std::unique_ptr<Cursor> Abrir(ConexionOdbc& conexion, QString consulta, const QList<Valor>& parametros,
                                         bool actualizable);

    const QStringList& Columnas() const override { return columnas_; }
    bool Siguiente(QList<Valor>& fila) override;
    bool Actualizable() const override { return !clave_.isEmpty(); }
    Valor ClaveFila() const override { return claveFila_; }
    QList<Valor> Insertar(const QStringList& columnas, const QList<Valor>& valores) override;
    void Modificar(const Valor& clave, const QStringList& columnas, const QList<Valor>& valores) override;

    // The table of a single-table SELECT ("" when it reads more than one).
    static QString TablaDeConsulta(const QString& consulta);

private:
    CursorOdbc(ConexionOdbc& conexion, QString tabla, QString clave) :
        conexion_(conexion), tabla_(std::move(tabla)), clave_(std::move(clave)) {}
    QList<Valor> Recortados(const QStringList& columnas, QList<Valor> valores);
    QString Nombre(const QString& identificador) const;

    ConexionOdbc& conexion_;
    QString tabla_;
    QString clave_;  // key column of an updatable cursor
    QStringList columnas_;
    QList<QList<Valor>> filas_;
    QList<Valor> claves_;
    qsizetype siguiente_ = 0;
    Valor claveFila_;
};

}  // namespace platform::db
