#pragma once
// The one error type of the system: what the old runtime called Err.
#include <QString>

namespace platform::runtime {

struct ErrorSistema {
    long Numero = 0;
    QString Descripcion;
    QString Fuente;
};

// Runtime numbers the system treats by name.
namespace Err {
constexpr long ArgumentoNoValido = 5;     // invalid procedure call or argument
constexpr long Desbordamiento = 6;        // overflow
constexpr long ArchivoIncorrecto = 52;    // bad file name or number
constexpr long ArchivoNoEncontrado = 53;
constexpr long ArchivoYaAbierto = 55;
constexpr long DemasiadosArchivos = 67;
constexpr long ErrorAccesoRuta = 75;      // path/file access error
constexpr long RutaNoEncontrada = 76;
constexpr long NoAdmitido = 438;          // property or method not supported
constexpr long ObjetoCerrado = 3704;      // operation on a closed object
constexpr long ActualizacionFallida = 3749;
constexpr long ErrorBaseDatos = -2147217900;
}  // namespace Err

// The runtime's own description for a number, as the old Err.Description gave it.
QString DescripcionError(long numero);

[[noreturn]] void Lanzar(long numero, const QString& descripcion = {},
                         const QString& fuente = {});

}  // namespace platform::runtime
