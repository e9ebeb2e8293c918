#include "platform/mail/NombreSeguro.h"

#include "platform/runtime/Texto.h"
#include <QCryptographicHash>
#include <QMimeDatabase>

namespace platform::mail {

namespace {

constexpr qsizetype MaximoCaracteres = 200;
constexpr qsizetype MaximoBytes = 200;
constexpr qsizetype MaximoExtension = 16;
constexpr qsizetype MaximoIdentificador = 100;
constexpr qsizetype PrefijoIdentificador = 60;

bool Invisible(QChar c) { return platform::runtime::EsInvisible(c); }

bool CabeEn(const QString& texto) {
    return texto.size() <= MaximoCaracteres && texto.toUtf8().size() <= MaximoBytes;
}

// Shortens the stem so that stem + extension fits, never splitting a pair.
QString Acortar(QString raiz, const QString& extension) {
    while (!raiz.isEmpty() && !CabeEn(raiz + extension)) {
        raiz.chop(1);
        if (!raiz.isEmpty() && raiz.back().isHighSurrogate()) raiz.chop(1);
    }
    return raiz.trimmed() + extension;
}

}  // namespace

QString NombreArchivoSeguro(const QString& propuesto) {
    QString nombre = propuesto;
    nombre.replace(u'\\', u'/');
    nombre = nombre.mid(nombre.lastIndexOf(u'/') + 1);

    QString limpio;
    limpio.reserve(nombre.size());
    for (qsizetype i = 0; i < nombre.size(); ++i) {
        const QChar c = nombre.at(i);
        if (c.isSurrogate()) {
            const bool par = c.isHighSurrogate() && i + 1 < nombre.size() &&
                             nombre.at(i + 1).isLowSurrogate();
            if (par) {
                limpio += c;
                limpio += nombre.at(++i);
            } else {
                limpio += u'_';
            }
        } else if (c == QChar::ReplacementCharacter) {
            limpio += u'_';
        } else if (!Invisible(c)) {
            limpio += c;
        }
    }
    limpio = limpio.trimmed();
    // A leading dot hides the file; a name of dots alone is a folder.
    while (limpio.startsWith(u'.')) limpio = limpio.mid(1).trimmed();
    if (limpio.isEmpty()) return QStringLiteral("adjunto");
    if (CabeEn(limpio)) return limpio;

    const qsizetype punto = limpio.lastIndexOf(u'.');
    QString extension;
    if (punto > 0 && limpio.size() - punto <= MaximoExtension) extension = limpio.mid(punto);
    QString corto = Acortar(limpio.left(limpio.size() - extension.size()), extension);
    if (corto.startsWith(u'.') || corto.isEmpty()) corto = QStringLiteral("adjunto") + extension;
    return corto;
}

QString IdentificadorSeguro(const QByteArray& nombreUnico) {
    QByteArray limpio = nombreUnico;
    bool cambiado = limpio.isEmpty() || limpio.startsWith('.');
    for (char& c : limpio) {
        const bool admitido = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                              (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-' ||
                              c == ',' || c == '=' || c == '+';
        if (!admitido) {
            c = '_';
            cambiado = true;
        }
    }
    if (!cambiado && limpio.size() <= MaximoIdentificador) return QString::fromLatin1(limpio);
    const QByteArray huella =
        QCryptographicHash::hash(nombreUnico, QCryptographicHash::Md5).toHex();
    QByteArray prefijo = limpio.left(PrefijoIdentificador);
    while (prefijo.startsWith('.')) prefijo[0] = '_';
    return QString::fromLatin1(prefijo + '-' + huella);
}

QString ExtensionDeTipo(const QString& tipoMime) {
    static const QMimeDatabase base;
    const QString sufijo = base.mimeTypeForName(tipoMime).preferredSuffix();
    if (!sufijo.isEmpty()) return u'.' + sufijo;
    if (tipoMime == QLatin1String("message/rfc822")) return QStringLiteral(".eml");
    if (tipoMime.startsWith(QLatin1String("text/"))) return QStringLiteral(".txt");
    return QStringLiteral(".bin");
}

}  // namespace platform::mail
