#include "platform/db/LexicoSql.h"

namespace platform::db::lexico {

namespace {
bool EsLetra(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#') ||
           c == QLatin1Char('$');
}
bool ConN(const QString& s) {
    return s.startsWith(QLatin1Char('N')) || s.startsWith(QLatin1Char('n'));
}
}  // namespace

QList<Token> Lexico(const QString& s, bool hastaPalabra) {
    QList<Token> tokens;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        const qsizetype inicio = i;
        if (c == QLatin1Char('\'') ||
            ((c == QLatin1Char('N') || c == QLatin1Char('n')) && i + 1 < n && s[i + 1] == QLatin1Char('\'') &&
             (tokens.isEmpty() || tokens.last().tipo != Tipo::Palabra))) {
            if (c != QLatin1Char('\'')) ++i;
            ++i;
            while (i < n) {
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) { i += 2; continue; }
                    ++i;
                    break;
                }
                ++i;
            }
            tokens.append({Tipo::Literal, s.mid(inicio, i - inicio)});
        } else if (c == QLatin1Char('"') || c == QLatin1Char('[')) {
            const QChar cierre = c == QLatin1Char('"') ? QLatin1Char('"') : QLatin1Char(']');
            ++i;
            while (i < n && s[i] != cierre) ++i;
            if (i < n) ++i;
            tokens.append({Tipo::Literal, s.mid(inicio, i - inicio)});
        } else if (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) {
            while (i < n && s[i] != QLatin1Char('\n') && s[i] != QLatin1Char('\r')) ++i;
            tokens.append({Tipo::Comentario, s.mid(inicio, i - inicio)});
        } else if (c == QLatin1Char('/') && i + 1 < n && s[i + 1] == QLatin1Char('*')) {
            const qsizetype fin = s.indexOf(QStringLiteral("*/"), i + 2);
            i = fin < 0 ? n : fin + 2;
            tokens.append({Tipo::Comentario, s.mid(inicio, i - inicio)});
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            ++i;
            tokens.append({Tipo::Salto, s.mid(inicio, 1)});
        } else if (c.isSpace()) {
            while (i < n && s[i].isSpace() && s[i] != QLatin1Char('\r') && s[i] != QLatin1Char('\n')) ++i;
            tokens.append({Tipo::Espacio, s.mid(inicio, i - inicio)});
        } else if (EsLetra(c)) {
            while (i < n && (EsLetra(s[i]) || s[i] == QLatin1Char('.'))) ++i;
            tokens.append({Tipo::Palabra, s.mid(inicio, i - inicio)});
            if (hastaPalabra) break;
        } else {
            ++i;
            tokens.append({Tipo::Simbolo, s.mid(inicio, 1)});
        }
    }
    return tokens;
}

bool Es(const Token& t, const char* palabra) {
    return t.tipo == Tipo::Palabra && t.texto.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0;
}
bool EsSimbolo(const Token& t, char c) { return t.tipo == Tipo::Simbolo && t.texto == QLatin1Char(c); }
bool Blanco(const Token& t) { return t.tipo == Tipo::Espacio || t.tipo == Tipo::Comentario; }

qsizetype Siguiente(const QList<Token>& t, qsizetype i) {
    while (i < t.size() && Blanco(t[i])) ++i;
    return i < t.size() ? i : -1;
}

bool EsTexto(const Token& t) {
    return t.tipo == Tipo::Literal && (t.texto.startsWith(QLatin1Char('\'')) || ConN(t.texto));
}

QString ValorTexto(const Token& t) {
    QString v = t.texto;
    if (ConN(v)) v.remove(0, 1);
    v = v.mid(1);
    if (v.endsWith(QLatin1Char('\''))) v.chop(1);
    return v.replace(QStringLiteral("''"), QStringLiteral("'"));
}

QString LiteralComo(const Token& original, const QString& valor) {
    QString v = valor;
    const QString cuerpo = QLatin1Char('\'') + v.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    return ConN(original.texto) ? original.texto.left(1) + cuerpo : cuerpo;
}

QList<QList<Token>> Sentencias(const QString& lote) {
    QList<QList<Token>> sentencias;
    QList<Token> actual;
    int nivel = 0;
    const auto cerrar = [&] {
        for (const Token& t : actual)
            if (t.tipo != Tipo::Espacio) {
                sentencias.append(actual);
                break;
            }
        actual.clear();
    };
    for (const Token& t : Lexico(lote)) {
        if (EsSimbolo(t, '(')) ++nivel;
        if (EsSimbolo(t, ')') && nivel > 0) --nivel;
        if (nivel == 0 && (t.tipo == Tipo::Salto || EsSimbolo(t, ';'))) {
            cerrar();
            continue;
        }
        actual.append(t.tipo == Tipo::Salto ? Token{Tipo::Espacio, QStringLiteral(" ")} : t);
    }
    cerrar();
    return sentencias;
}

}  // namespace platform::db::lexico
