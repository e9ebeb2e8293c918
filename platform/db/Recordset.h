#pragma once
// A cursor over the rows of one query, used as the old recordset was:
// Bof/Eof (the old BOF/EOF; EOF is a C macro), MoveFirst/MoveNext, fields by case-insensitive name, and on an
// updatable open (cursor 2, lock 3) AddNew, field assignment and Update.
#include "platform/db/Conexion.h"

#include <QHash>

namespace platform::db {

namespace Cursores {
constexpr int ForwardOnly = 0;
constexpr int Keyset = 1;
constexpr int Dynamic = 2;
constexpr int Static = 3;
}  // namespace Cursores
namespace Bloqueos {
constexpr int ReadOnly = 1;
constexpr int Pessimistic = 2;
constexpr int Optimistic = 3;
constexpr int BatchOptimistic = 4;
}  // namespace Bloqueos
namespace Opciones {
constexpr int SinEspecificar = -1;  // how the text is to be read is left to the engine
}  // namespace Opciones

class Recordset;

// One field of the current row: read its value, or assign one.
class Campo {
public:
    Campo(Recordset* rs, int indice) : rs_(rs), indice_(indice) {}
    Valor Value() const;
    QString Name() const;
    Campo& operator=(const Valor& valor);
    operator Valor() const { return Value(); }

private:
    Recordset* rs_;
    int indice_;
};

class Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void Open(const QString& sql, Conexion& conexion, int tipoCursor = Cursores::ForwardOnly,
              int tipoBloqueo = Bloqueos::ReadOnly, const QList<Valor>& parametros = {});
    void Close();
    bool Abierto() const { return cursor_ != nullptr; }

    bool Bof() const;
    bool Eof() const;
    void MoveFirst();
    void MoveNext();

    int FieldCount() const;
    QString FieldName(int i) const;
    bool TieneCampo(const QString& nombre) const;
    // Unknown names raise 3265, as the old collection did.
    Campo Fields(const QString& nombre);
    Valor Fields(const QString& nombre) const;
    // By position, from 0, as the old collection also allowed: for reading
    // many rows without looking a name up in each. 3265 outside the columns.
    Valor Fields(int indice) const;

    void AddNew();
    void Update();

private:
    friend class Campo;
    void ExigirAbierto() const;
    void ExigirFila() const;
    int Indice(const QString& nombre) const;
    bool LeerSiguiente();
    Valor ValorEn(int indice) const;
    void Asignar(int indice, const Valor& valor);

    std::unique_ptr<Cursor> cursor_;
    Conexion* conexion_ = nullptr;
    QString sql_;
    QList<Valor> parametros_;
    bool actualizable_ = false;
    void Indexar() const;
    mutable QHash<QString, int> indices_;  // lower-case name -> column, built on first use
    mutable bool indexado_ = false;

    // Forward-only: the current row only. Updatable: every row, with its key.
    QList<QList<Valor>> filas_;
    QList<Valor> claves_;
    int posicion_ = 0;  // index into filas_
    bool alFinal_ = true;
    int leidas_ = 0;
    bool materializado_ = false;

    // Pending edit.
    bool editando_ = false;
    bool nueva_ = false;
    QList<Valor> edicion_;
    QList<bool> tocados_;
};

}  // namespace platform::db
