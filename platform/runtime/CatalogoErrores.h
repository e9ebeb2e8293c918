#pragma once
// Every error number the program raises or tests, named once, each with the
// text the old runtime or component gave for it. Call sites use the names;
// DescripcionError finds a number's text in the table at the end.
// (The database server's own native numbers are in platform/db/Errores.h.)
#include <QStringView>

namespace platform::runtime {

// A number with its description; it reads as the plain number wherever a
// number is expected (comparisons, switch labels, ErrorSistema::Numero).
struct NumeroError {
    long numero;
    QStringView descripcion;
    constexpr operator long() const { return numero; }
};

// Numbers of the old language runtime, the data access layer and the mail
// store's automation objects.
namespace Err {
inline constexpr NumeroError ArgumentoNoValido{5, u"Llamada a procedimiento o argumento no válidos"};
inline constexpr NumeroError Desbordamiento{6, u"Desbordamiento"};
inline constexpr NumeroError MemoriaInsuficiente{7, u"Memoria insuficiente"};
inline constexpr NumeroError IndiceFueraDeRango{9, u"Subíndice fuera del intervalo"};
inline constexpr NumeroError TiposNoCoinciden{13, u"No coinciden los tipos"};
inline constexpr NumeroError ErrorInterno{51, u"Error interno"};
inline constexpr NumeroError ArchivoIncorrecto{52, u"Nombre o número de archivo incorrecto"};
inline constexpr NumeroError ArchivoNoEncontrado{53, u"No se ha encontrado el archivo"};
inline constexpr NumeroError ArchivoYaAbierto{55, u"El archivo ya está abierto"};
inline constexpr NumeroError ErrorEntradaSalida{57, u"Error de E/S en el dispositivo"};
inline constexpr NumeroError DemasiadosArchivos{67, u"Demasiados archivos"};
inline constexpr NumeroError ErrorAccesoRuta{75, u"Error de acceso a la ruta o al archivo"};
inline constexpr NumeroError RutaNoEncontrada{76, u"No se ha encontrado la ruta de acceso"};
inline constexpr NumeroError ObjetoNoEstablecido{91, u"Variable de objeto o bloque With no establecido"};
inline constexpr NumeroError UsoNoValidoDeNull{94, u"Uso no válido de Null"};
inline constexpr NumeroError NoAdmitido{438, u"El objeto no admite esta propiedad o método"};
// Data access layer.
inline constexpr NumeroError SinFilaActual{3021, u"BOF o EOF es True, o el registro actual se ha eliminado. "
                                                 u"La operación solicitada requiere un registro actual."};
inline constexpr NumeroError NoAdmitidoPorProveedor{3251, u"El proveedor no admite la operación solicitada."};
inline constexpr NumeroError ElementoNoEncontrado{3265, u"No se encontró el elemento en la colección que "
                                                        u"corresponde con el nombre o el ordinal solicitado."};
inline constexpr NumeroError ObjetoCerrado{3704, u"No se permite realizar esta operación si el objeto está cerrado."};
inline constexpr NumeroError ComandoNoValido{3709, u"No se puede usar la conexión para realizar esta operación. "
                                                   u"Está cerrada o no es válida en este contexto."};
inline constexpr NumeroError ActualizacionFallida{3749, u"No se pudieron actualizar los campos."};
// The database reported an error against the statement.
inline constexpr NumeroError ErrorBaseDatos{-2147217900, u"Se produjeron uno o varios errores durante el "
                                                         u"procesamiento del comando."};
inline constexpr NumeroError ErrorNoEspecificado{-2147467259, u"Error no especificado"};
// The mail store: a folder or item that is not there.
inline constexpr NumeroError ObjetoNoEncontrado{-2147221233, u"No se encontró el objeto."};
}  // namespace Err

// Numbers of the old mail-sending object, which callers key their messages on.
// Any other sending failure carries libcurl's own code and its description.
namespace ErrCdo {
// No From, or a From whose address is not a simple address ("Nombre<a@b>").
// Checked before connecting.
inline constexpr NumeroError SinRemitente{-2147220979,  // 0x8004020D
                                          u"Se necesita el remitente (From) y no se ha encontrado."};
// The server could not be resolved, reached or answered in time; also an
// empty or malformed server name.
inline constexpr NumeroError SinConexion{-2147220973,  // 0x80040213
                                         u"El transporte no pudo conectarse al servidor."};
// The server refused the login, the sender, the recipient or the message.
inline constexpr NumeroError EnvioRechazado{-2147220975,  // 0x80040211
                                            u"El servidor SMTP no aceptó el mensaje."};
// Our own check refused the recipient: not exactly one simple address
// (line breaks, several addresses, blanks, angle brackets...). Nothing is sent.
inline constexpr NumeroError DestinatarioRechazado{-2147220977,  // 0x8004020F
                                                   u"Se rechazó el destinatario."};
// "sendusing" is not 2: only sending through an SMTP port exists here.
inline constexpr NumeroError SendUsingNoValido{-2147220960,  // 0x80040220
                                               u"El valor de configuración \"SendUsing\" no es válido."};
}  // namespace ErrCdo

// Every number above, for the look-up by number.
inline constexpr const NumeroError* Catalogo[] = {
    &Err::ArgumentoNoValido, &Err::Desbordamiento, &Err::MemoriaInsuficiente,
    &Err::IndiceFueraDeRango, &Err::TiposNoCoinciden, &Err::ErrorInterno,
    &Err::ArchivoIncorrecto, &Err::ArchivoNoEncontrado, &Err::ArchivoYaAbierto,
    &Err::ErrorEntradaSalida, &Err::DemasiadosArchivos, &Err::ErrorAccesoRuta,
    &Err::RutaNoEncontrada, &Err::ObjetoNoEstablecido, &Err::UsoNoValidoDeNull,
    &Err::NoAdmitido, &Err::SinFilaActual, &Err::NoAdmitidoPorProveedor,
    &Err::ElementoNoEncontrado, &Err::ObjetoCerrado, &Err::ComandoNoValido,
    &Err::ActualizacionFallida, &Err::ErrorBaseDatos, &Err::ErrorNoEspecificado,
    &Err::ObjetoNoEncontrado,
    &ErrCdo::SinRemitente, &ErrCdo::SinConexion, &ErrCdo::EnvioRechazado,
    &ErrCdo::DestinatarioRechazado, &ErrCdo::SendUsingNoValido,
};

// What a number the catalogue does not hold reads as.
inline constexpr QStringView DescripcionDesconocida = u"Error definido por la aplicación o el objeto";

}  // namespace platform::runtime
