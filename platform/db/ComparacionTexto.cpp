#include "platform/db/ComparacionTexto.h"

#include "platform/runtime/Texto.h"
#include "platform/db/Reloj.h"

// The same source builds the loadable extension, where SQLite's functions
// are reached through the table the loading host hands over.
#ifdef RECEPCION_EXTENSION_SQLITE
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

#include <cstring>

namespace platform::db {

QString FormaComparable(const QString& texto) {
    bool ascii = true;
    for (QChar c : texto)
        if (c.unicode() >= 0x80) { ascii = false; break; }
    if (ascii) return texto.toLower();
    const QString descompuesto = texto.normalized(QString::NormalizationForm_D);
    QString salida;
    salida.reserve(descompuesto.size());
    for (QChar c : descompuesto)
        if (c.category() != QChar::Mark_NonSpacing) salida += c;
    return salida.toCaseFolded();
}

namespace {

// The end of the bracket class that opens at p[inicio] ("[abc]", "[a-z]",
// "[^x]"), the index of its "]"; -1 when it is never closed, and the "[" is
// then an ordinary character.
qsizetype FinDeClase(const QString& p, qsizetype inicio) {
    qsizetype primero = inicio + 1;
    if (primero < p.size() && p[primero] == QLatin1Char('^')) ++primero;
    // The first character of the class is itself even when it is "]".
    return primero < p.size() ? p.indexOf(QLatin1Char(']'), primero + 1) : -1;
}

bool EnClase(QChar c, const QString& p, qsizetype inicio, qsizetype fin) {
    qsizetype k = inicio + 1;
    const bool negada = p[k] == QLatin1Char('^');
    if (negada) ++k;
    bool dentro = false;
    for (; k < fin && !dentro; ++k) {
        if (k + 2 < fin && p[k + 1] == QLatin1Char('-')) {
            dentro = p[k] <= c && c <= p[k + 2];
            k += 2;
        } else {
            dentro = p[k] == c;
        }
    }
    return dentro != negada;
}

// Matching over comparable forms; iterative with backtracking on the last %.
// Brackets are SQL Server's: "[%]" is a literal "%", "[a-c]" a range.
bool Coincide(const QString& t, const QString& p, QChar escape) {
    qsizetype ti = 0, pi = 0, marcaP = -1, marcaT = 0;
    while (ti < t.size()) {
        if (pi < p.size()) {
            QChar pc = p[pi];
            const qsizetype finClase = pc == QLatin1Char('[') ? FinDeClase(p, pi) : -1;
            if (!escape.isNull() && pc == escape && pi + 1 < p.size()) {
                if (t[ti] == p[pi + 1]) { ++ti; pi += 2; continue; }
            } else if (finClase > 0) {
                if (EnClase(t[ti], p, pi, finClase)) { ++ti; pi = finClase + 1; continue; }
            } else if (pc == QLatin1Char('%')) {
                marcaP = ++pi;
                marcaT = ti;
                continue;
            } else if (pc == QLatin1Char('_') || pc == t[ti]) {
                ++ti; ++pi;
                continue;
            }
        }
        if (marcaP < 0) return false;
        pi = marcaP;
        ti = ++marcaT;
    }
    while (pi < p.size() && p[pi] == QLatin1Char('%')) ++pi;
    return pi == p.size();
}

QString Texto(sqlite3_value* v) {
    const auto* datos = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(datos, sqlite3_value_bytes(v));
}

int CompararCiAi(void*, int n1, const void* a, int n2, const void* b) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    // As on the product's server, trailing blanks do not count: 'ANA ' = 'ANA'.
    while (n1 > 0 && x[n1 - 1] == ' ') --n1;
    while (n2 > 0 && y[n2 - 1] == ' ') --n2;
    // Fast path: pure ASCII compares byte-wise without case.
    bool ascii = true;
    for (int i = 0; i < n1 && ascii; ++i) ascii = x[i] < 0x80;
    for (int i = 0; i < n2 && ascii; ++i) ascii = y[i] < 0x80;
    if (ascii) {
        const int n = std::min(n1, n2);
        for (int i = 0; i < n; ++i) {
            const int cx = (x[i] >= 'A' && x[i] <= 'Z') ? x[i] + 32 : x[i];
            const int cy = (y[i] >= 'A' && y[i] <= 'Z') ? y[i] + 32 : y[i];
            if (cx != cy) return cx < cy ? -1 : 1;
        }
        return n1 == n2 ? 0 : (n1 < n2 ? -1 : 1);
    }
    const QString fa = FormaComparable(QString::fromUtf8(static_cast<const char*>(a), n1));
    const QString fb = FormaComparable(QString::fromUtf8(static_cast<const char*>(b), n2));
    return fa.compare(fb);
}

void FuncionLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    // like(pattern, text [, escape]) as SQLite calls it.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar escape;
    if (argc == 3) {
        const QString e = Texto(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        { const QString f = FormaComparable(e); escape = f.isEmpty() ? QChar() : f.at(0); }
    }
    sqlite3_result_int(ctx, CoincideLike(Texto(argv[1]), Texto(argv[0]), escape) ? 1 : 0);
}

void FuncionGetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    const QByteArray ahora =
        runtime::FechaIso(Ahora()).toUtf8();
    sqlite3_result_text(ctx, ahora.constData(), static_cast<int>(ahora.size()), SQLITE_TRANSIENT);
}

void FuncionLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    // SQL Server's LEN ignores trailing blanks.
    QString s = Texto(argv[0]);
    while (s.endsWith(QLatin1Char(' '))) s.chop(1);
    sqlite3_result_int64(ctx, s.size());
}

}  // namespace

bool CoincideLike(const QString& texto, const QString& patron, QChar escape) {
    return Coincide(FormaComparable(texto), FormaComparable(patron), escape);
}

void RegistrarComparacion(sqlite3* db) {
    sqlite3_create_collation(db, "CI_AI", SQLITE_UTF8, nullptr, CompararCiAi);
    const int banderas = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, banderas, nullptr, FuncionLike, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, banderas, nullptr, FuncionLike, nullptr, nullptr);
    sqlite3_create_function(db, "getdate", 0, SQLITE_UTF8, nullptr, FuncionGetDate, nullptr, nullptr);
    sqlite3_create_function(db, "len", 1, banderas, nullptr, FuncionLen, nullptr, nullptr);
}

}  // namespace platform::db
