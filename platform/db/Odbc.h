#pragma once
// A thin layer over the unixODBC C API: handles that free themselves,
// text in and out as UTF-16 (SQLWCHAR is 16 bits here, like QString), and
// the diagnostics of a handle.
#include <QList>
#include <QString>
#include <QStringList>

#include <sql.h>
#include <sqlext.h>

namespace platform::db::odbc {

class Manejador {
public:
    Manejador() = default;
    // Allocates a handle of the type under its parent (SQL_NULL_HANDLE for
    // the environment); raises ErrorSistema when the driver manager cannot.
    Manejador(SQLSMALLINT tipo, SQLHANDLE padre);
    ~Manejador();
    Manejador(Manejador&& otro) noexcept;
    Manejador& operator=(Manejador&& otro) noexcept;
    Manejador(const Manejador&) = delete;
    Manejador& operator=(const Manejador&) = delete;

    SQLHANDLE get() const { return h_; }
    SQLSMALLINT Tipo() const { return tipo_; }
    explicit operator bool() const { return h_ != SQL_NULL_HANDLE; }
    void Liberar();

private:
    SQLSMALLINT tipo_ = 0;
    SQLHANDLE h_ = SQL_NULL_HANDLE;
};

struct Diagnostico {
    QString estado;  // SQLSTATE
    long nativo = 0;
    QString mensaje;  // without the "[unixODBC][driver]" prefixes
};

bool Bien(SQLRETURN rc);
QList<Diagnostico> Diagnosticos(const Manejador& h);

inline SQLWCHAR* W(const QString& s) {
    return const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(s.utf16()));
}
inline QString DeW(const SQLWCHAR* s, qsizetype n) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(s), n);
}

// The one environment of the process (ODBC 3).
const Manejador& Entorno();
// Data source names unixODBC knows (user and system odbc.ini).
QStringList FuentesDeDatos();

}  // namespace platform::db::odbc
