#pragma once
// Text, number, path and error-dialog helpers of the utility component.
#include "platform/db/Valor.h"
#include "platform/runtime/ErrorSistema.h"

#include <QString>

namespace components {

class Utilidades {
public:
    // The text cut to at most n characters.
    QString Truncar(const QString& texto, int n) const;
    // The number the text holds, fixed-point with four decimals; 0 for none.
    double ValorNumero(const QString& texto) const;
    // The value itself as text; a Null comes back as "".
    QString NoNulo(const platform::db::Valor& valor) const;
    // Number of words separated by blanks.
    int CantidadPalabras(const QString& texto) const;
    // The text with that character removed wherever it stands.
    QString QuitarCaracter(const QString& texto, const QString& caracter) const;
    // Shows the error to the operator with Abort/Retry/Ignore; returns the
    // answer (4 retry, 5 go on, anything else leave).
    int MostrarError(const platform::runtime::ErrorSistema& error) const;
    // A reversible, single-line scrambling of the connection profile's texts.
    QString Encriptar(const QString& texto) const;
    QString Desencriptar(const QString& texto) const;
    // The folder text ending in the path separator.
    QString RutaConBarra(const QString& carpeta) const;
};

}  // namespace components
