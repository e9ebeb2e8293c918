#pragma once
// Private to the mail store: the few GMime services the store uses, kept
// behind plain Qt types. Only the store's .cpp files include this.
// Qt's "signals" keyword would clash with a GLib member of that name.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")

#include "platform/gmime/GObjeto.h"

#include <QByteArray>
#include <QString>

#include <utility>

namespace platform::mail::detail {

using platform::gmime::Ref;

// Parser options shared by every parse (GMime initialised on first use).
GMimeParserOptions* OpcionesAnalisis();

// Parses a whole message held in memory; null when GMime sees no message or
// it carries no header at all. Takes ownership of the buffer.
Ref<GMimeMessage> AnalizarMensaje(GByteArray* datos);
Ref<GMimeMessage> AnalizarMensaje(const QByteArray& datos);

// Text from GMime (UTF-8) made fit for display: invalid sequences replaced,
// control characters turned into blanks.
QString TextoVisible(const char* utf8);

// "type/subtype" in lower case; text/plain when the object declares none.
QString TipoMime(GMimeObject* objeto);

// The decoded bytes of a leaf part (transfer encoding undone).
QByteArray BytesDeParte(GMimePart* parte);

// Bytes in a declared charset turned into Unicode. Undeclared, unknown and
// invalid text is read as UTF-8, or as windows-1252 when it is not UTF-8.
QString DecodificarTexto(const QByteArray& bytes, const char* charset);

}  // namespace platform::mail::detail
