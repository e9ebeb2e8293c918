#include "platform/db/DialectoSqlServer.h"

#include <QList>

namespace platform::db {

namespace {

enum class Tipo { Palabra, Literal, Espacio, Salto, Simbolo, Comentario };

struct Token {
    Tipo tipo;
    QString texto;
};

bool EsLetra(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#') || c == QLatin1Char('$'); }

// Splits the text into tokens; literals, quoted names and comments whole.
QList<Token> Lexico(const QString& s, bool hastaPalabra = false) {
    QList<Token> tokens;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        const qsizetype inicio = i;
        if (c == QLatin1Char('\'') ||
            ((c == QLatin1Char('N') || c == QLatin1Char('n')) && i + 1 < n && s[i + 1] == QLatin1Char('\'') &&
             (tokens.isEmpty() || tokens.last().tipo != Tipo::Palabra))) {
            if (c != QLatin1Char('\'')) ++i;  // N prefix: dropped below
            ++i;
            while (i < n) {
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) { i += 2; continue; }
                    ++i;
                    break;
                }
                ++i;
            }
            QString lit = s.mid(inicio, i - inicio);
            if (lit.startsWith(QLatin1Char('N')) || lit.startsWith(QLatin1Char('n'))) lit.remove(0, 1);
            tokens.append({Tipo::Literal, lit});
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
bool EsSimbolo(const Token& t, char c) {
    return t.tipo == Tipo::Simbolo && t.texto == QLatin1Char(c);
}
bool Blanco(const Token& t) {
    return t.tipo == Tipo::Espacio || t.tipo == Tipo::Comentario;
}

// Index of the next token that is not a blank, from i; -1 if none.
qsizetype Siguiente(const QList<Token>& t, qsizetype i) {
    while (i < t.size() && Blanco(t[i])) ++i;
    return i < t.size() ? i : -1;
}

// Translates one statement's tokens (no separators inside).
QString TraducirSentencia(const QList<Token>& t) {
    QString salida;
    // LIMIT texts waiting for the end of their parenthesis level.
    QList<QPair<int, QString>> limites;
    int nivel = 0;
    qsizetype i = 0;
    const auto cerrarLimites = [&](int hasta) {
        while (!limites.isEmpty() && limites.last().first >= hasta) {
            salida += QStringLiteral(" LIMIT ") + limites.last().second;
            limites.removeLast();
        }
    };
    bool primera = true;
    while (i < t.size()) {
        const Token& tok = t[i];
        if (primera && tok.tipo == Tipo::Palabra) {
            primera = false;
            if (Es(tok, "BEGIN") || Es(tok, "COMMIT") || Es(tok, "ROLLBACK")) {
                const qsizetype j = Siguiente(t, i + 1);
                if (j >= 0 && (Es(t[j], "TRANSACTION") || Es(t[j], "TRAN") || Es(t[j], "WORK"))) {
                    salida += tok.texto.toUpper();
                    i = j + 1;
                    // A transaction name after the keyword has no meaning here.
                    const qsizetype k = Siguiente(t, i);
                    if (k >= 0 && t[k].tipo == Tipo::Palabra) i = k + 1;
                    continue;
                }
            }
        }
        if (Es(tok, "WITH")) {
            const qsizetype a = Siguiente(t, i + 1);
            const qsizetype b = a >= 0 && EsSimbolo(t[a], '(') ? Siguiente(t, a + 1) : -1;
            const qsizetype c = b >= 0 && Es(t[b], "NOLOCK") ? Siguiente(t, b + 1) : -1;
            if (c >= 0 && EsSimbolo(t[c], ')')) {
                i = c + 1;
                continue;
            }
        }
        if (Es(tok, "SELECT")) {
            salida += tok.texto;
            ++i;
            qsizetype j = Siguiente(t, i);
            if (j >= 0 && (Es(t[j], "DISTINCT") || Es(t[j], "ALL"))) {
                for (; i <= j; ++i) salida += t[i].texto;
                j = Siguiente(t, i);
            }
            if (j >= 0 && Es(t[j], "TOP")) {
                qsizetype k = Siguiente(t, j + 1);
                QString numero;
                qsizetype fin = -1;
                if (k >= 0 && t[k].tipo == Tipo::Palabra) {
                    numero = t[k].texto;
                    fin = k;
                } else if (k >= 0 && EsSimbolo(t[k], '(')) {
                    const qsizetype m = Siguiente(t, k + 1);
                    const qsizetype p = m >= 0 ? Siguiente(t, m + 1) : -1;
                    if (p >= 0 && t[m].tipo == Tipo::Palabra && EsSimbolo(t[p], ')')) {
                        numero = t[m].texto;
                        fin = p;
                    }
                }
                if (fin >= 0) {
                    limites.append({nivel, numero});
                    salida += QLatin1Char(' ');
                    i = fin + 1;
                }
            }
            continue;
        }
        if (EsSimbolo(tok, '(')) ++nivel;
        if (EsSimbolo(tok, ')')) {
            cerrarLimites(nivel);
            --nivel;
        }
        salida += tok.texto;
        ++i;
    }
    cerrarLimites(-1000);
    return salida.trimmed();
}

}  // namespace

QStringList TraducirLote(const QString& lote) {
    const QList<Token> tokens = Lexico(lote);
    QStringList sentencias;
    QList<Token> actual;
    int nivel = 0;
    const auto cerrar = [&] {
        const QString s = TraducirSentencia(actual);
        if (!s.isEmpty()) sentencias << s;
        actual.clear();
    };
    for (const Token& t : tokens) {
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

QString PrimeraPalabra(const QString& sentencia) {
    for (const Token& t : Lexico(sentencia, true))
        if (t.tipo == Tipo::Palabra) return t.texto.toUpper();
    return {};
}

}  // namespace platform::db
