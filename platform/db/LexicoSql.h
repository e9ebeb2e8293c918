#pragma once
// Splits SQL text into tokens. String literals, quoted names and comments
// come out whole, so nothing that works on the tokens looks inside them.
#include <QList>
#include <QString>

namespace platform::db::lexico {

enum class Tipo { Palabra, Literal, Espacio, Salto, Simbolo, Comentario };

struct Token {
    Tipo tipo;
    QString texto;  // as written: a literal keeps its quotes and its N prefix
};

// hastaPalabra stops after the first word.
QList<Token> Lexico(const QString& s, bool hastaPalabra = false);

bool Es(const Token& t, const char* palabra);
bool EsSimbolo(const Token& t, char c);
bool Blanco(const Token& t);
// Index of the next token that is not a blank, from i; -1 if none.
qsizetype Siguiente(const QList<Token>& t, qsizetype i);

// A text literal ('…' or N'…'), as opposed to a quoted name.
bool EsTexto(const Token& t);
// The value of a text literal, its quotes removed and '' made one.
QString ValorTexto(const Token& t);
// The literal written back for a value, keeping the N prefix of the original.
QString LiteralComo(const Token& original, const QString& valor);

// The statements of a batch, as token lists: split at ";" and line breaks
// outside literals and parentheses; line breaks inside become blanks.
QList<QList<Token>> Sentencias(const QString& lote);

}  // namespace platform::db::lexico
