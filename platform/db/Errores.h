#pragma once
// The connection's error collection: what the database reported against the
// last statement, each with the server's native number.
#include "platform/runtime/CatalogoErrores.h"

#include <QList>
#include <QString>

namespace platform::db {

struct ErrorBaseDatos {
    long NativeError = 0;
    QString Description;
    long Number = runtime::Err::ErrorBaseDatos;
};

class Errores {
public:
    int Count() const { return static_cast<int>(lista_.size()); }
    // 0-based, as the old collection's Item(i).
    const ErrorBaseDatos& Item(int i) const { return lista_.at(i); }
    void Clear() { lista_.clear(); }
    void Agregar(const ErrorBaseDatos& e) { lista_.append(e); }
    bool Vacia() const { return lista_.isEmpty(); }

private:
    QList<ErrorBaseDatos> lista_;
};

// Native numbers of the SQL Server family that the system raises or tests;
// their text is the server's own.
namespace Nativo {
constexpr long ClaveDuplicada = 2627;
constexpr long ConflictoRestriccion = 547;
constexpr long ObjetoNoValido = 208;
constexpr long ColumnaNoValida = 207;
constexpr long Sintaxis = 102;
constexpr long ProcedimientoNoEncontrado = 2812;
constexpr long ValorNulo = 515;
constexpr long TiempoBloqueo = 1222;
constexpr long Interbloqueo = 1205;
constexpr long SoloLectura = 3906;
constexpr long NoExisteBase = 15010;
constexpr long YaExisteLogin = 15025;
constexpr long ClaveRechazada = 15116;  // the password fails the server's policy
}  // namespace Nativo

}  // namespace platform::db
