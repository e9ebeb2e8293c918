#include "reception/ArreglarHtml.h"

#include "common/ArchivoTemporal.h"
#include "common/Contexto.h"
#include "platform/runtime/ErrorSistema.h"

#include <QDir>
#include <QStringList>

#include <algorithm>

namespace reception {

namespace {

using platform::runtime::Lanzar;
namespace Err = platform::runtime::Err;

const QString kReferenciaCid = QStringLiteral("src='cid:");

void Marca(const char* marcador) { common::Traza(2, QString::fromLatin1(marcador)); }

// Normal files only: no folders, no dot-files (Linux's hidden entries), no
// sockets or broken links. Sorted by name, ignoring case as the Windows
// listing did, so the same folder always hands out its images in one order.
QStringList ArchivosNormales(const QString& carpeta) {
    QStringList nombres = QDir(carpeta).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(nombres.begin(), nombres.end(), [](const QString& a, const QString& b) {
        const int r = a.compare(b, Qt::CaseInsensitive);
        return r != 0 ? r < 0 : a < b;
    });
    return nombres;
}

}  // namespace

QString ArreglarHtml(const QString& codigoHtml, const QString& uidl,
                     const QString& carpetaAdjuntos) {
    QString cuerpo = codigoHtml;
    cuerpo.replace(QLatin1Char('"'), QLatin1Char('\''));
    Marca("CAMBIACOMILLAS");

    QString omitir;
    for (;;) {
        const qsizetype a = cuerpo.indexOf(kReferenciaCid, 0, Qt::CaseInsensitive);
        const qsizetype b = a < 0 ? -1 : cuerpo.indexOf(QLatin1Char('\''), a + 5);
        Marca("AS");
        if (a < 0) break;
        // A reference without its closing quote is left as it is: it can only be
        // the last one, and one bad picture must not keep the message out.
        if (b < 0) break;

        const QString anterior = cuerpo.mid(a, b - a + 1);
        Marca("AS1");

        QString nombre;
        const qsizetype arroba = anterior.indexOf(QLatin1Char('@'));
        if (arroba < 0) {
            RecorreImagenes(uidl, omitir, nombre, carpetaAdjuntos);
        } else {
            // "cid:image001.png@01D…": the part before "@" is the file's name.
            nombre = anterior.mid(kReferenciaCid.size(), arroba - kReferenciaCid.size());
        }
        Marca("AS2");

        const QString prefijo = common::Util().RutaConBarra(carpetaAdjuntos) + uidl;
        // A folder or identifier that itself holds "src='cid:" would put a new
        // reference into every rewritten one, and the loop would never end.
        if (prefijo.contains(kReferenciaCid, Qt::CaseInsensitive)) {
            Lanzar(Err::ArgumentoNoValido,
                   QStringLiteral("La carpeta de adjuntos o el identificador contiene \"%1\"")
                       .arg(kReferenciaCid));
        }
        const QString nueva = QStringLiteral(" src='file:") + prefijo + QLatin1Char('/') + nombre
                              + QLatin1Char('\'');
        Marca("DSA");

        cuerpo.replace(anterior, nueva, Qt::CaseInsensitive);
        if (!cuerpo.contains(kReferenciaCid, Qt::CaseInsensitive)) break;
    }
    Marca("FIN");

    cuerpo.replace(QLatin1Char('\''), QLatin1Char('"'));
    Marca("FIN2");
    return cuerpo;
}

void RecorreImagenes(const QString& uidl, QString& imagenesOmitir, QString& rutaDevuelta,
                     const QString& carpetaAdjuntos) {
    const auto& util = common::Util();
    const QString carpeta = util.RutaConBarra(util.RutaConBarra(carpetaAdjuntos) + uidl);
    // A missing folder lists nothing: no image is chosen.
    for (const QString& nombre : ArchivosNormales(carpeta)) {
        if (imagenesOmitir.contains(nombre, Qt::CaseInsensitive)) continue;
        if (EsImagen(nombre, imagenesOmitir)) {
            imagenesOmitir += QLatin1Char(',') + nombre;
            rutaDevuelta = nombre;
            return;
        }
    }
}

bool EsImagen(const QString& ruta, const QString& /*omitir*/) {
    if (ruta.isEmpty()) return false;
    const qsizetype punto = ruta.indexOf(QLatin1Char('.'));
    const QString extension = punto < 0 ? ruta : ruta.mid(punto + 1);
    static const QString kExtensiones[] = {QStringLiteral("JPG"), QStringLiteral("GIF"),
                                           QStringLiteral("BMP"), QStringLiteral("PNG"),
                                           QStringLiteral("JPEG")};
    return std::any_of(std::begin(kExtensiones), std::end(kExtensiones), [&](const QString& e) {
        return extension.compare(e, Qt::CaseInsensitive) == 0;
    });
}

}  // namespace reception
