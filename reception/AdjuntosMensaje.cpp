#include "reception/AdjuntosMensaje.h"

#include "common/Contexto.h"

namespace reception {

namespace {
constexpr int MaximoBytes = 240;
}

QString NombreArchivoAdjunto(const QString& nombre) {
    QString resultado = nombre;
    if (nombre.size() > 50) {
        const qsizetype punto = nombre.indexOf(QLatin1Char('.'));
        QString extension = punto >= 0 ? nombre.mid(punto + 1) : nombre;
        extension.remove(QLatin1Char('.'));
        resultado = common::Util().Truncar(nombre, 50) + QLatin1Char('.') + extension;
    }
    // A long extension part can pass the file system's limit: shorten what
    // stands before the last dot, so the real extension survives.
    while (resultado.toUtf8().size() > MaximoBytes) {
        const qsizetype punto = resultado.lastIndexOf(QLatin1Char('.'));
        resultado.remove(punto > 0 ? punto - 1 : resultado.size() - 1, 1);
    }
    return resultado;
}

}  // namespace reception
