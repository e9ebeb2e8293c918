#include "platform/runtime/NombresUnicos.h"

namespace platform::runtime {

namespace {

// Longer tails are not an extension but part of the name.
constexpr qsizetype MaximoExtension = 16;

QString Numerado(QString raiz, const QString& cola, qsizetype maximoBytes) {
    const qsizetype fijos = cola.toUtf8().size();
    bool cortada = false;
    while (!raiz.isEmpty() && raiz.toUtf8().size() + fijos > maximoBytes) {
        raiz.chop(1);
        if (!raiz.isEmpty() && raiz.back().isHighSurrogate()) raiz.chop(1);
        cortada = true;
    }
    if (cortada) {
        while (!raiz.isEmpty() && raiz.back().isSpace()) raiz.chop(1);
    }
    return raiz + cola;
}

}  // namespace

QString NombresUnicos::Libre(const QString& nombre) {
    const QString clave = nombre.toCaseFolded();
    if (!usados_.contains(clave)) {
        usados_.insert(clave);
        return nombre;
    }
    const qsizetype punto = nombre.lastIndexOf(u'.');
    const bool conExtension = punto > 0 && nombre.size() - punto <= MaximoExtension;
    const QString extension = conExtension ? nombre.mid(punto) : QString();
    const QString raiz = nombre.left(nombre.size() - extension.size());
    int& n = siguiente_[clave];
    if (n < 2) n = 2;
    // Each candidate ends in a number not tried before, so the search ends.
    QString candidato;
    do candidato = Numerado(raiz, QStringLiteral(" (%1)").arg(n++) + extension, maximoBytes_);
    while (usados_.contains(candidato.toCaseFolded()));
    usados_.insert(candidato.toCaseFolded());
    return candidato;
}

}  // namespace platform::runtime
