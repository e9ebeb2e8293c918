#include "platform/db/DialectoSqlServer.h"

#include "platform/db/LexicoSql.h"

#include <QList>

namespace platform::db {

namespace {

using namespace lexico;

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
        salida += EsTexto(tok) && !tok.texto.startsWith(QLatin1Char('\'')) ? tok.texto.mid(1) : tok.texto;
        ++i;
    }
    cerrarLimites(-1000);
    return salida.trimmed();
}

}  // namespace

QStringList TraducirLote(const QString& lote) {
    QStringList sentencias;
    for (const auto& tokens : Sentencias(lote)) {
        const QString s = TraducirSentencia(tokens);
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
