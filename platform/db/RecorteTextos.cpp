#include "platform/db/RecorteTextos.h"

#include "platform/db/LexicoSql.h"

namespace platform::db {

using namespace lexico;

QString Recortar(const QString& texto, long n) {
    if (n <= 0 || texto.size() <= n) return texto;
    qsizetype corte = n;
    if (texto[corte - 1].isHighSurrogate()) --corte;
    return texto.left(corte);
}

QString NombreSimple(const QString& nombre) {
    QString t = nombre.section(QLatin1Char('.'), -1);
    if (t.startsWith(QLatin1Char('[')) || t.startsWith(QLatin1Char('"')) || t.startsWith(QLatin1Char('`')))
        t = t.mid(1, t.size() - 2);
    return t;
}

namespace {

// The name at i, which a lexer gives as a word, or a quoted literal for
// "[x]" and "\"x\"", possibly with "schema." in front.
bool EsNombre(const Token& t) {
    return t.tipo == Tipo::Palabra || (t.tipo == Tipo::Literal && !EsTexto(t));
}

// Cuts the literal at t[i] when it is the whole value (only blanks around).
void CortarValor(QList<Token>& t, qsizetype desde, qsizetype hasta, long n) {
    if (n <= 0) return;
    qsizetype unico = -1;
    for (qsizetype k = desde; k < hasta; ++k) {
        if (Blanco(t[k])) continue;
        if (unico >= 0 || !EsTexto(t[k])) return;
        unico = k;
    }
    if (unico < 0) return;
    const QString valor = ValorTexto(t[unico]);
    if (valor.size() > n) t[unico].texto = LiteralComo(t[unico], Recortar(valor, n));
}

bool Insertar(QList<Token>& t, qsizetype i, const TamanoColumna& tamano) {
    qsizetype j = Siguiente(t, i + 1);
    if (j >= 0 && Es(t[j], "INTO")) j = Siguiente(t, j + 1);
    if (j < 0 || !EsNombre(t[j])) return false;
    const QString tabla = NombreSimple(t[j].texto);
    j = Siguiente(t, j + 1);
    if (j < 0 || !EsSimbolo(t[j], '(')) return false;
    QStringList columnas;
    for (j = Siguiente(t, j + 1); j >= 0 && !EsSimbolo(t[j], ')'); j = Siguiente(t, j + 1)) {
        if (EsSimbolo(t[j], ',')) continue;
        if (!EsNombre(t[j])) return false;
        columnas << NombreSimple(t[j].texto);
    }
    if (j < 0) return false;
    j = Siguiente(t, j + 1);
    if (j < 0 || !Es(t[j], "VALUES")) return false;
    QList<long> tamanos;
    for (const QString& c : columnas) tamanos << tamano(tabla, c);
    // Each row: "(" values ")" with commas at depth one.
    for (j = Siguiente(t, j + 1); j >= 0 && EsSimbolo(t[j], '('); j = Siguiente(t, j + 1)) {
        int nivel = 0, columna = 0;
        qsizetype inicio = j + 1;
        qsizetype k = j;
        for (; k < t.size(); ++k) {
            if (EsSimbolo(t[k], '(')) { ++nivel; continue; }
            const bool cierra = EsSimbolo(t[k], ')') && --nivel == 0;
            if (cierra || (nivel == 1 && EsSimbolo(t[k], ','))) {
                if (columna < tamanos.size()) CortarValor(t, inicio, k, tamanos[columna]);
                ++columna;
                inicio = k + 1;
                if (cierra) break;
            }
        }
        j = Siguiente(t, k + 1);
        if (j < 0 || !EsSimbolo(t[j], ',')) break;
    }
    return true;
}

bool Actualizar(QList<Token>& t, qsizetype i, const TamanoColumna& tamano) {
    qsizetype j = Siguiente(t, i + 1);
    if (j < 0 || !EsNombre(t[j])) return false;
    const QString tabla = NombreSimple(t[j].texto);
    j = Siguiente(t, j + 1);
    if (j < 0 || !Es(t[j], "SET")) return false;
    // column = value, … up to WHERE/FROM at depth zero.
    for (j = Siguiente(t, j + 1); j >= 0;) {
        if (!EsNombre(t[j])) return false;
        const QString columna = NombreSimple(t[j].texto);
        qsizetype igual = Siguiente(t, j + 1);
        if (igual < 0 || !EsSimbolo(t[igual], '=')) return false;
        int nivel = 0;
        qsizetype k = igual + 1;
        for (; k < t.size(); ++k) {
            if (EsSimbolo(t[k], '(')) ++nivel;
            if (EsSimbolo(t[k], ')')) --nivel;
            if (nivel == 0 && (EsSimbolo(t[k], ',') || Es(t[k], "WHERE") || Es(t[k], "FROM"))) break;
        }
        CortarValor(t, igual + 1, k, tamano(tabla, columna));
        if (k >= t.size() || !EsSimbolo(t[k], ',')) break;
        j = Siguiente(t, k + 1);
    }
    return true;
}

}  // namespace

QString RecortarLiterales(const QString& sentencia, const TamanoColumna& tamano) {
    QList<Token> t = Lexico(sentencia);
    for (Token& tok : t)
        if (tok.tipo == Tipo::Salto) tok.tipo = Tipo::Espacio;  // text kept as written
    const qsizetype i = Siguiente(t, 0);
    if (i < 0) return sentencia;
    bool hecho = false;
    if (Es(t[i], "INSERT")) hecho = Insertar(t, i, tamano);
    else if (Es(t[i], "UPDATE")) hecho = Actualizar(t, i, tamano);
    if (!hecho) return sentencia;
    QString salida;
    for (const Token& tok : t) salida += tok.texto;
    return salida;
}

}  // namespace platform::db
