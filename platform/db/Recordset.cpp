#include "platform/db/Recordset.h"

#include "platform/runtime/ErrorSistema.h"

namespace platform::db {

namespace {
[[noreturn]] void Cerrado() {
    runtime::Lanzar(runtime::Err::ObjetoCerrado);
}
}  // namespace

Valor Campo::Value() const { return rs_->ValorEn(indice_); }
QString Campo::Name() const { return rs_->FieldName(indice_); }
Campo& Campo::operator=(const Valor& valor) {
    rs_->Asignar(indice_, valor);
    return *this;
}

void Recordset::Open(const QString& sql, Conexion& conexion, int tipoCursor, int tipoBloqueo,
                     const QList<Valor>& parametros) {
    Close();
    if (!conexion.Abierta()) Cerrado();
    actualizable_ = tipoBloqueo != Bloqueos::ReadOnly;
    const bool materializar = actualizable_ || tipoCursor != Cursores::ForwardOnly;
    cursor_ = conexion.AbrirCursor(sql, parametros, actualizable_);
    conexion_ = &conexion;
    sql_ = sql;
    parametros_ = parametros;
    if (materializar) {
        QList<Valor> fila;
        while (cursor_->Siguiente(fila)) {
            filas_.append(fila);
            claves_.append(cursor_->ClaveFila());
        }
        posicion_ = 0;
        alFinal_ = filas_.isEmpty();
        leidas_ = static_cast<int>(filas_.size());
        materializado_ = true;
    } else {
        materializado_ = false;
        LeerSiguiente();
    }
}

bool Recordset::LeerSiguiente() {
    QList<Valor> fila;
    if (cursor_->Siguiente(fila)) {
        filas_ = {fila};
        posicion_ = 0;
        alFinal_ = false;
        ++leidas_;
        return true;
    }
    filas_.clear();
    alFinal_ = true;
    return false;
}

void Recordset::Indexar() const {
    if (indexado_) return;
    indexado_ = true;
    const QStringList& columnas = cursor_->Columnas();
    for (int i = 0; i < columnas.size(); ++i) {
        const QString clave = columnas[i].toLower();
        if (!indices_.contains(clave)) indices_.insert(clave, i);
    }
}

void Recordset::Close() {
    cursor_.reset();
    conexion_ = nullptr;
    indices_.clear();
    indexado_ = false;
    filas_.clear();
    claves_.clear();
    posicion_ = 0;
    alFinal_ = true;
    leidas_ = 0;
    editando_ = false;
}

void Recordset::ExigirAbierto() const {
    if (!cursor_) Cerrado();
}

void Recordset::ExigirFila() const {
    ExigirAbierto();
    if (editando_) return;
    if (alFinal_ || filas_.isEmpty())
        runtime::Lanzar(runtime::Err::SinFilaActual, QStringLiteral(
            "BOF o EOF es True, o el registro actual se eliminó."));
}

bool Recordset::Bof() const {
    ExigirAbierto();
    return leidas_ == 0 || (materializado_ && filas_.isEmpty());
}

bool Recordset::Eof() const {
    ExigirAbierto();
    return alFinal_ && !editando_;
}

void Recordset::MoveFirst() {
    ExigirAbierto();
    editando_ = false;
    if (materializado_) {
        posicion_ = 0;
        alFinal_ = filas_.isEmpty();
        return;
    }
    if (leidas_ <= 1) return;  // already on the first row
    // A forward-only cursor cannot go back: run the query again.
    Conexion* c = conexion_;
    const QString sql = sql_;
    const QList<Valor> parametros = parametros_;
    Open(sql, *c, Cursores::ForwardOnly, Bloqueos::ReadOnly, parametros);
}

void Recordset::MoveNext() {
    ExigirFila();
    editando_ = false;
    if (materializado_) {
        ++posicion_;
        alFinal_ = posicion_ >= filas_.size();
        return;
    }
    LeerSiguiente();
}

int Recordset::FieldCount() const {
    ExigirAbierto();
    return static_cast<int>(cursor_->Columnas().size());
}

QString Recordset::FieldName(int i) const {
    ExigirAbierto();
    return cursor_->Columnas().value(i);
}

int Recordset::Indice(const QString& nombre) const {
    ExigirAbierto();
    Indexar();
    const auto it = indices_.constFind(nombre.toLower());
    if (it == indices_.cend())
        runtime::Lanzar(runtime::Err::ElementoNoEncontrado, QStringLiteral(
            "No se encontró el elemento en la colección que corresponde al nombre o al ordinal "
            "solicitado: %1").arg(nombre));
    return it.value();
}

bool Recordset::TieneCampo(const QString& nombre) const {
    if (!cursor_) return false;
    Indexar();
    return indices_.contains(nombre.toLower());
}

Campo Recordset::Fields(const QString& nombre) { return Campo(this, Indice(nombre)); }

Valor Recordset::Fields(const QString& nombre) const { return ValorEn(Indice(nombre)); }

Valor Recordset::Fields(int indice) const {
    ExigirAbierto();
    if (indice < 0 || indice >= FieldCount())
        runtime::Lanzar(runtime::Err::ElementoNoEncontrado, QStringLiteral(
            "No se encontró el elemento en la colección que corresponde al nombre o al ordinal "
            "solicitado: %1").arg(indice));
    return ValorEn(indice);
}

Valor Recordset::ValorEn(int indice) const {
    if (editando_) return edicion_.value(indice);
    ExigirFila();
    return filas_.at(posicion_).value(indice);
}

void Recordset::Asignar(int indice, const Valor& valor) {
    ExigirAbierto();
    if (!actualizable_)
        runtime::Lanzar(runtime::Err::NoAdmitidoPorProveedor, QStringLiteral("El recordset es de solo lectura."));
    if (!editando_) {
        ExigirFila();
        editando_ = true;
        nueva_ = false;
        edicion_ = filas_.at(posicion_);
        tocados_ = QList<bool>(edicion_.size(), false);
    }
    edicion_[indice] = valor;
    tocados_[indice] = true;
}

void Recordset::AddNew() {
    ExigirAbierto();
    if (!actualizable_)
        runtime::Lanzar(runtime::Err::NoAdmitidoPorProveedor, QStringLiteral("El recordset es de solo lectura."));
    editando_ = true;
    nueva_ = true;
    edicion_ = QList<Valor>(cursor_->Columnas().size());
    tocados_ = QList<bool>(edicion_.size(), false);
}

void Recordset::Update() {
    ExigirAbierto();
    if (!editando_) return;
    QStringList columnas;
    QList<Valor> valores;
    for (int i = 0; i < edicion_.size(); ++i) {
        if (!tocados_[i]) continue;
        columnas << cursor_->Columnas().at(i);
        valores << edicion_[i];
    }
    if (nueva_) {
        const QList<Valor> guardada = cursor_->Insertar(columnas, valores);
        filas_.append(guardada);
        claves_.append(cursor_->ClaveFila());
        posicion_ = static_cast<int>(filas_.size()) - 1;
    } else {
        if (!columnas.isEmpty()) cursor_->Modificar(claves_.at(posicion_), columnas, valores);
        filas_[posicion_] = edicion_;
    }
    alFinal_ = false;
    leidas_ = std::max(leidas_, 1);
    editando_ = false;
}

}  // namespace platform::db
