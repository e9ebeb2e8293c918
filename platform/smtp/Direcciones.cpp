#include "platform/smtp/Direcciones.h"

#include "platform/runtime/Texto.h"
namespace platform::smtp {

namespace {

// Longest path SMTP allows, brackets aside.
constexpr int LargoMaximo = 254;

bool EsControl(QChar c) { return platform::runtime::EsControlOSalto(c); }

// Invisible characters are refused in addresses too: they hide what is sent.
bool Prohibido(QChar c) {
    static const QString separadores = QStringLiteral("<>,;:\"()[]\\");
    return EsControl(c) || c.category() == QChar::Other_Format || c.isSpace() ||
           separadores.contains(c);
}

}  // namespace

bool EsDireccionSimple(const QString& direccion) {
    if (direccion.isEmpty() || direccion.size() > LargoMaximo) return false;
    for (const QChar c : direccion)
        if (Prohibido(c)) return false;
    const qsizetype arroba = direccion.indexOf(QLatin1Char('@'));
    return arroba > 0 && arroba == direccion.lastIndexOf(QLatin1Char('@')) &&
           arroba < direccion.size() - 1;
}

std::optional<Remitente> SepararRemitente(const QString& from) {
    const QString texto = from.trimmed();
    Remitente r;
    if (texto.endsWith(QLatin1Char('>'))) {
        const qsizetype abre = texto.lastIndexOf(QLatin1Char('<'));
        if (abre < 0) return std::nullopt;
        r.nombre = EnUnaLinea(texto.left(abre)).trimmed();
        r.direccion = texto.mid(abre + 1, texto.size() - abre - 2);
    } else {
        r.direccion = texto;
    }
    if (!EsDireccionSimple(r.direccion)) return std::nullopt;
    return r;
}

QString EnUnaLinea(const QString& texto) {
    QString linea;
    linea.reserve(texto.size());
    bool hueco = false;  // a control character was just replaced
    for (const QChar c : texto) {
        if (EsControl(c)) {
            if (!hueco && !linea.endsWith(QLatin1Char(' '))) linea += QLatin1Char(' ');
            hueco = true;
            continue;
        }
        if (hueco && c == QLatin1Char(' ')) continue;
        hueco = false;
        linea += c;
    }
    return linea;
}

QString Visible(const QString& texto) {
    constexpr int LargoLegible = 80;
    QString visible;
    for (const QChar c : texto.left(LargoLegible)) visible += EsControl(c) ? QLatin1Char('?') : c;
    if (texto.size() > LargoLegible) visible += QStringLiteral("…");
    return visible;
}

}  // namespace platform::smtp
