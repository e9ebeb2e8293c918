#include "platform/db/Odbc.h"

#include "platform/runtime/ErrorSistema.h"

#include <QRegularExpression>

#include <utility>

namespace platform::db::odbc {

Manejador::Manejador(SQLSMALLINT tipo, SQLHANDLE padre) : tipo_(tipo) {
    if (!Bien(SQLAllocHandle(tipo, padre, &h_))) {
        h_ = SQL_NULL_HANDLE;
        runtime::Lanzar(runtime::Err::ErrorNoEspecificado,
                        QStringLiteral("El administrador de ODBC no pudo reservar un manejador."));
    }
}

Manejador::~Manejador() { Liberar(); }

Manejador::Manejador(Manejador&& otro) noexcept
    : tipo_(otro.tipo_), h_(std::exchange(otro.h_, nullptr)) {}

Manejador& Manejador::operator=(Manejador&& otro) noexcept {
    if (this != &otro) {
        Liberar();
        tipo_ = otro.tipo_;
        h_ = std::exchange(otro.h_, nullptr);
    }
    return *this;
}

void Manejador::Liberar() {
    if (h_ == SQL_NULL_HANDLE) return;
    if (tipo_ == SQL_HANDLE_DBC) SQLDisconnect(h_);
    SQLFreeHandle(tipo_, h_);
    h_ = SQL_NULL_HANDLE;
}

bool Bien(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

QList<Diagnostico> Diagnosticos(const Manejador& h) {
    static const QRegularExpression prefijos(QStringLiteral("^(\\[[^\\]]*\\])+\\s*"));
    QList<Diagnostico> lista;
    if (!h) return lista;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR estado[6] = {};
        SQLINTEGER nativo = 0;
        SQLWCHAR mensaje[2048];
        SQLSMALLINT largo = 0;
        const SQLRETURN rc = SQLGetDiagRecW(h.Tipo(), h.get(), i, estado, &nativo, mensaje,
                                            static_cast<SQLSMALLINT>(std::size(mensaje)), &largo);
        if (!Bien(rc)) break;
        const qsizetype n = std::min<qsizetype>(largo, std::size(mensaje) - 1);
        QString texto = DeW(mensaje, n).trimmed();
        texto.remove(prefijos);
        lista.append({DeW(estado, 5), static_cast<long>(nativo), texto});
    }
    return lista;
}

const Manejador& Entorno() {
    static const Manejador entorno = [] {
        Manejador e(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
        SQLSetEnvAttr(e.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return e;
    }();
    return entorno;
}

QStringList FuentesDeDatos() {
    QStringList nombres;
    SQLWCHAR nombre[SQL_MAX_DSN_LENGTH + 1];
    SQLWCHAR descripcion[512];
    SQLSMALLINT n1 = 0, n2 = 0;
    SQLUSMALLINT direccion = SQL_FETCH_FIRST;
    while (Bien(SQLDataSourcesW(Entorno().get(), direccion, nombre, SQL_MAX_DSN_LENGTH + 1, &n1, descripcion,
                                static_cast<SQLSMALLINT>(std::size(descripcion)), &n2))) {
        nombres << DeW(nombre, std::min<qsizetype>(n1, SQL_MAX_DSN_LENGTH));
        direccion = SQL_FETCH_NEXT;
    }
    return nombres;
}

}  // namespace platform::db::odbc
