#include "platform/db/DialectoSqlServer.h"

#include "platform/db/LexicoSql.h"
#include "platform/db/LiteralSql.h"

#include <QList>

namespace platform::db {

namespace {

using namespace lexico;

// A LIKE pattern without SQL Server's one-character bracket classes, which
// MariaDB reads as plain brackets: "[%]" becomes escape + "%", "[[]" a
// plain "[". With an escape of our own (nuevo), the pattern's own escape
// characters were ordinary ones and are doubled. Wider classes ("[a-c]")
// have no LIKE equivalent there and stay as written.
QString SinCorchetes(const QString& p, QChar escape, bool nuevo) {
    QString salida;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == escape && !nuevo && i + 1 < p.size()) {
            salida += c;
            salida += p[++i];
        } else if (c == QLatin1Char('[') && i + 2 < p.size() && p[i + 2] == QLatin1Char(']') &&
                   p[i + 1] != QLatin1Char('^')) {
            const QChar x = p[i + 1];
            if (x == QLatin1Char('%') || x == QLatin1Char('_') || x == escape) salida += escape;
            salida += x;
            i += 2;
        } else if (c == escape) {
            salida += escape;
            salida += c;
        } else {
            salida += c;
        }
    }
    return salida;
}

// "LIKE 'pattern' [ESCAPE 'c']" at t[i] (the LIKE), written for MariaDB;
// fin is the last token used. Empty when nothing needs changing or the
// pattern is not a literal.
QString LikeMariaDb(const QList<Token>& t, qsizetype i, qsizetype& fin) {
    const qsizetype j = Siguiente(t, i + 1);
    if (j < 0 || !EsTexto(t[j])) return {};
    const QString patron = ValorTexto(t[j]);
    const qsizetype k = Siguiente(t, j + 1);
    const qsizetype m = k >= 0 && Es(t[k], "ESCAPE") ? Siguiente(t, k + 1) : -1;
    QChar escape = QLatin1Char('\\');
    const bool propio = m >= 0 && EsTexto(t[m]);
    // Without ESCAPE, MariaDB still reads a backslash as one (whatever the
    // sql_mode): it must be doubled, as SQL Server takes it literally.
    if (!patron.contains(QLatin1Char('[')) && (propio || !patron.contains(escape))) return {};
    if (propio) {
        const QString dado = ValorTexto(t[m]);
        if (dado.size() != 1) return {};
        escape = dado[0];
    }
    fin = propio ? m : j;
    return t[i].texto + QLatin1Char(' ') + LiteralTexto(SinCorchetes(patron, escape, !propio)) +
           QStringLiteral(" ESCAPE ") + LiteralTexto(escape);
}

// Translates one statement's tokens (no separators inside).
QString TraducirSentencia(const QList<Token>& t, Destino destino) {
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
        if (destino == Destino::MariaDb && Es(tok, "LIKE")) {
            qsizetype fin = i;
            const QString like = LikeMariaDb(t, i, fin);
            if (!like.isEmpty()) {
                salida += like;
                i = fin + 1;
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
        salida += EsTexto(tok) && !tok.texto.startsWith(QLatin1Char('\'')) ? tok.texto.mid(1) : tok.texto;
        ++i;
    }
    cerrarLimites(-1000);
    return salida.trimmed();
}

}  // namespace

QStringList TraducirLote(const QString& lote, Destino destino) {
    QStringList sentencias;
    for (const auto& tokens : Sentencias(lote)) {
        const QString s = TraducirSentencia(tokens, destino);
        if (!s.isEmpty()) sentencias << s;
    }
    return sentencias;
}

QStringList DividirLote(const QString& lote) {
    QStringList sentencias;
    for (const auto& tokens : Sentencias(lote)) {
        QString s;
        for (const Token& t : tokens) s += t.texto;
        s = s.trimmed();
        if (!s.isEmpty()) sentencias << s;
    }
    return sentencias;
}

QString PrimeraPalabra(const QString& sentencia) {
    for (const Token& t : Lexico(sentencia, true))
        if (t.tipo == Tipo::Palabra) return t.texto.toUpper();
    return {};
}

}  // namespace platform::db
