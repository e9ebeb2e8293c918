#pragma once
// Checks on the addresses of a message before anything is sent. The
// recipient comes from received mail, so it is treated as hostile: the
// transfer library writes it into the SMTP dialogue as given.
#include <QString>

#include <optional>

namespace platform::smtp {

// True when the text is exactly one bare address: one "@" with something
// on each side, and no blank, control character, "<", ">", ",", quote or
// other separator that could make it two addresses or break a command line.
bool EsDireccionSimple(const QString& direccion);

struct Remitente {
    QString nombre;     // display name, may be empty
    QString direccion;  // the bare address, also the envelope sender
};

// Splits the sender as the system writes it, "Nombre<usuario>" (a blank
// before "<" is allowed too), or a bare address. Empty when the address
// inside is not a simple one.
std::optional<Remitente> SepararRemitente(const QString& from);

// Header text on one line: every control character (CR and LF above all)
// becomes a blank, and runs of blanks left by them collapse to one.
QString EnUnaLinea(const QString& texto);

// The text with its control characters shown as "?", cut to a readable
// length, for error descriptions that quote a hostile value.
QString Visible(const QString& texto);

}  // namespace platform::smtp
