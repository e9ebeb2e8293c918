#include "platform/db/ValoresOdbc.h"

#include <QDateTime>

namespace platform::db::odbc {

namespace {
// Above this a text goes as a long one (nvarchar(max), longtext).
constexpr SQLULEN TextoCorto = 4000;

bool Fallo(SQLRETURN rc) { return !Bien(rc) && rc != SQL_NO_DATA; }
}  // namespace

SQLRETURN Parametros::Enlazar(const Manejador& h, const QList<Valor>& valores) {
    buffers_.clear();
    for (qsizetype i = 0; i < valores.size(); ++i) {
        const Valor& v = valores[i];
        Buffer& b = buffers_.emplace_back();
        const auto n = static_cast<SQLUSMALLINT>(i + 1);
        SQLRETURN rc;
        if (EsNulo(v)) {
            b.indicador = SQL_NULL_DATA;
            rc = SQLBindParameter(h.get(), n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 1, 0, nullptr, 0,
                                  &b.indicador);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int: case QMetaType::UInt: case QMetaType::Short: case QMetaType::UShort:
            case QMetaType::Long: case QMetaType::ULong: case QMetaType::LongLong: case QMetaType::ULongLong:
                // True is -1, as the embedded engine stores it.
                b.entero = v.typeId() == QMetaType::Bool ? (v.toBool() ? -1 : 0) : v.toLongLong();
                rc = SQLBindParameter(h.get(), n, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &b.entero, 0,
                                      nullptr);
                break;
            case QMetaType::Double: case QMetaType::Float:
                b.real = v.toDouble();
                rc = SQLBindParameter(h.get(), n, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &b.real, 0,
                                      nullptr);
                break;
            case QMetaType::QByteArray:
                b.bytes = v.toByteArray();
                b.indicador = b.bytes.size();
                rc = SQLBindParameter(h.get(), n, SQL_PARAM_INPUT, SQL_C_BINARY,
                                      b.bytes.size() > 8000 ? SQL_LONGVARBINARY : SQL_VARBINARY,
                                      std::max<SQLULEN>(b.bytes.size(), 1), 0, b.bytes.data(), b.bytes.size(),
                                      &b.indicador);
                break;
            case QMetaType::QDateTime: case QMetaType::QDate: {
                const QDateTime f = v.toDateTime();
                const QDate d = f.date();
                const QTime t = f.time();
                b.fecha = {static_cast<SQLSMALLINT>(d.year()), static_cast<SQLUSMALLINT>(d.month()),
                           static_cast<SQLUSMALLINT>(d.day()), static_cast<SQLUSMALLINT>(t.hour()),
                           static_cast<SQLUSMALLINT>(t.minute()), static_cast<SQLUSMALLINT>(t.second()), 0};
                rc = SQLBindParameter(h.get(), n, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 19,
                                      0, &b.fecha, sizeof b.fecha, nullptr);
                break;
            }
            default: {
                b.texto = v.toString();
                const auto largo = static_cast<SQLULEN>(b.texto.size());
                b.indicador = static_cast<SQLLEN>(largo * sizeof(SQLWCHAR));
                rc = SQLBindParameter(h.get(), n, SQL_PARAM_INPUT, SQL_C_WCHAR,
                                      largo > TextoCorto ? SQL_WLONGVARCHAR : SQL_WVARCHAR, std::max<SQLULEN>(largo, 1),
                                      0, W(b.texto), b.indicador, &b.indicador);
            }
            }
        }
        if (!Bien(rc)) return rc;
    }
    return SQL_SUCCESS;
}

namespace {

struct Descripcion {
    SQLSMALLINT tipo = 0;
    SQLSMALLINT escala = 0;
};

// Reads a long value in pieces until the driver has given it all.
template <typename Unidad>
SQLRETURN Trozos(const Manejador& h, SQLUSMALLINT c, SQLSMALLINT tipoC, QList<Unidad>& salida, bool& nulo) {
    Unidad buffer[4096];
    for (;;) {
        SQLLEN indicador = 0;
        const SQLRETURN rc = SQLGetData(h.get(), c, tipoC, buffer, sizeof buffer, &indicador);
        if (rc == SQL_NO_DATA) return SQL_SUCCESS;
        if (!Bien(rc)) return rc;
        if (indicador == SQL_NULL_DATA) {
            nulo = true;
            return SQL_SUCCESS;
        }
        // A text piece ends with a terminator that is not part of the value.
        const qsizetype cabe = static_cast<qsizetype>(sizeof buffer / sizeof(Unidad)) - (tipoC == SQL_C_WCHAR ? 1 : 0);
        const qsizetype llegados = indicador == SQL_NO_TOTAL || indicador / static_cast<SQLLEN>(sizeof(Unidad)) > cabe
                                       ? cabe
                                       : static_cast<qsizetype>(indicador / static_cast<SQLLEN>(sizeof(Unidad)));
        for (qsizetype i = 0; i < llegados; ++i) salida.append(buffer[i]);
        if (rc == SQL_SUCCESS) return SQL_SUCCESS;
    }
}

SQLRETURN Leer(const Manejador& h, SQLUSMALLINT c, const Descripcion& d, Valor& valor) {
    SQLLEN indicador = 0;
    SQLRETURN rc;
    switch (d.tipo) {
    case SQL_BIT: case SQL_TINYINT: case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIGINT: {
        SQLBIGINT n = 0;
        rc = SQLGetData(h.get(), c, SQL_C_SBIGINT, &n, 0, &indicador);
        valor = indicador == SQL_NULL_DATA ? Nulo() : Valor(static_cast<qlonglong>(n));
        return rc;
    }
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: {
        double x = 0;
        rc = SQLGetData(h.get(), c, SQL_C_DOUBLE, &x, 0, &indicador);
        valor = indicador == SQL_NULL_DATA ? Nulo() : Valor(x);
        return rc;
    }
    case SQL_TYPE_TIMESTAMP: case SQL_TYPE_DATE: case SQL_TYPE_TIME: {
        SQL_TIMESTAMP_STRUCT f{};
        rc = SQLGetData(h.get(), c, SQL_C_TYPE_TIMESTAMP, &f, sizeof f, &indicador);
        if (indicador == SQL_NULL_DATA) valor = Nulo();
        else
            valor = QDateTime(QDate(f.year, f.month, f.day),
                              QTime(f.hour, f.minute, f.second, static_cast<int>(f.fraction / 1000000)));
        return rc;
    }
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY: {
        QList<char> bytes;
        bool nulo = false;
        rc = Trozos(h, c, SQL_C_BINARY, bytes, nulo);
        valor = nulo ? Nulo() : Valor(QByteArray(bytes.constData(), bytes.size()));
        return rc;
    }
    default: {
        QList<SQLWCHAR> texto;
        bool nulo = false;
        rc = Trozos(h, c, SQL_C_WCHAR, texto, nulo);
        if (nulo) {
            valor = Nulo();
            return rc;
        }
        const QString s = DeW(texto.constData(), texto.size());
        valor = s;
        // Exact numbers: whole ones as integers, the rest as doubles.
        if (d.tipo == SQL_DECIMAL || d.tipo == SQL_NUMERIC) {
            bool entero = false;
            const qlonglong n = s.toLongLong(&entero);
            valor = d.escala == 0 && entero ? Valor(n) : Valor(s.toDouble());
        }
        return rc;
    }
    }
}

}  // namespace

SQLRETURN LeerResultado(const Manejador& h, QStringList& columnas, QList<QList<Valor>>& filas) {
    SQLSMALLINT n = 0;
    SQLRETURN rc = SQLNumResultCols(h.get(), &n);
    if (!Bien(rc)) return rc;
    QList<Descripcion> tipos;
    for (SQLUSMALLINT c = 1; c <= n; ++c) {
        SQLWCHAR nombre[256];
        SQLSMALLINT largo = 0, tipo = 0, escala = 0, nulos = 0;
        SQLULEN tamano = 0;
        rc = SQLDescribeColW(h.get(), c, nombre, 256, &largo, &tipo, &tamano, &escala, &nulos);
        if (!Bien(rc)) return rc;
        columnas << DeW(nombre, std::min<qsizetype>(largo, 255));
        tipos.append({tipo, escala});
    }
    if (n == 0) return SQL_SUCCESS;
    while ((rc = SQLFetch(h.get())) != SQL_NO_DATA) {
        if (Fallo(rc)) return rc;
        QList<Valor> fila(n);
        for (SQLUSMALLINT c = 1; c <= n; ++c) {
            rc = Leer(h, c, tipos[c - 1], fila[c - 1]);
            if (Fallo(rc)) return rc;
        }
        filas.append(std::move(fila));
    }
    return SQL_SUCCESS;
}

}  // namespace platform::db::odbc
