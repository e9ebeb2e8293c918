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

QString NombreLibre(const QString& nombre, NombresUsados& usados) {
    const QString clave = nombre.toLower();
    if (!usados.usados.contains(clave)) {
        usados.usados.insert(clave);
        return nombre;
    }
    const qsizetype punto = nombre.lastIndexOf(QLatin1Char('.'));
    const QString base = punto > 0 ? nombre.left(punto) : nombre;
    const QString extension = punto > 0 ? nombre.mid(punto) : QString();
    // The search goes on from where the last one for this name stopped, so
    // many attachments of one name cost linear time.
    int& n = usados.siguiente[clave];
    if (n < 2) n = 2;
    QString candidato;
    do candidato = QStringLiteral("%1 (%2)%3").arg(base).arg(n++).arg(extension);
    while (usados.usados.contains(candidato.toLower()));
    usados.usados.insert(candidato.toLower());
    return candidato;
}

}  // namespace reception
