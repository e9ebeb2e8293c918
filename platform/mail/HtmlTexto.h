#pragma once
// A readable plain-text version of an HTML body, for mail that has no text
// part of its own: tags dropped, block ends as line breaks, entities decoded.
#include <QString>

namespace platform::mail {

QString HtmlATexto(const QString& html);

}  // namespace platform::mail
