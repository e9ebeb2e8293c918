#pragma once
// Rewrites the "cid:" references of an HTML body so that inline pictures
// point at the attachment files saved in the message's folder.
#include <QString>

namespace reception {

// The body with each src='cid:…' turned into src='file:<folder><uidl>/<name>'.
// Every apostrophe and double quote of the body comes back as a double quote.
// Throws ErrorSistema 5 for a "src='cid:" with no closing apostrophe.
QString ArreglarHtml(const QString& codigoHtml, const QString& uidl,
                     const QString& carpetaAdjuntos);

// Picks the first image file of the message's folder whose name is not in
// the omit list, appends ",name" to the list and returns the name in
// rutaDevuelta; leaves rutaDevuelta as it was when there is none.
void RecorreImagenes(const QString& uidl, QString& imagenesOmitir, QString& rutaDevuelta,
                     const QString& carpetaAdjuntos);

// True when the name's extension (everything after its first ".") is
// jpg, gif, bmp, png or jpeg. omitir takes no part in the decision.
bool EsImagen(const QString& ruta, const QString& omitir);

}  // namespace reception
