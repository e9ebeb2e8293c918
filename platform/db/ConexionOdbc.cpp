#include "platform/db/ConexionOdbc.h"

#include "platform/db/CursorOdbc.h"
#include "platform/db/DialectoSqlServer.h"
#include "platform/db/ErroresMariaDb.h"
#include "platform/db/LexicoSql.h"
#include "platform/db/RecorteTextos.h"
#include "platform/db/ValoresOdbc.h"
#include "platform/runtime/ErrorSistema.h"

namespace platform::db {

using odbc::Bien;
using odbc::Manejador;

namespace {
constexpr SQLULEN EsperaConexion = 15;

// A statement of comments alone sends nothing.
bool SoloComentarios(const QString& s) {
    for (const auto& t : lexico::Lexico(s))
        if (t.tipo != lexico::Tipo::Espacio && t.tipo != lexico::Tipo::Comentario &&
            t.tipo != lexico::Tipo::Salto)
            return false;
    return true;
}

// The catalogue query of each server: name, size, identity, key.
const char* ConsultaCatalogo(ConexionOdbc::Dialecto d) {
    if (d == ConexionOdbc::Dialecto::MariaDb)
        return "SELECT COLUMN_NAME, CASE WHEN CHARACTER_MAXIMUM_LENGTH > 65535 THEN 0 "
               "ELSE COALESCE(CHARACTER_MAXIMUM_LENGTH, 0) END, "
               "CASE WHEN EXTRA LIKE '%auto_increment%' THEN 1 ELSE 0 END, "
               "CASE WHEN COLUMN_KEY = 'PRI' THEN 1 ELSE 0 END "
               "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ?";
    return "SELECT c.name, CASE WHEN t.name IN ('char','varchar','nchar','nvarchar') AND c.max_length > 0 "
           "THEN CASE WHEN t.name LIKE 'n%' THEN c.max_length / 2 ELSE c.max_length END ELSE 0 END, "
           "CAST(c.is_identity AS int), CASE WHEN EXISTS (SELECT 1 FROM sys.index_columns ic "
           "JOIN sys.indexes i ON i.object_id = ic.object_id AND i.index_id = ic.index_id "
           "WHERE i.is_primary_key = 1 AND ic.object_id = c.object_id AND ic.column_id = c.column_id) "
           "THEN 1 ELSE 0 END FROM sys.columns c JOIN sys.types t ON t.user_type_id = c.system_type_id "
           "WHERE c.object_id = OBJECT_ID(?)";
}
}  // namespace

ConexionOdbc::ConexionOdbc(const QString& cadena, const QString& nombre, long tiempoEspera) {
    tiempoEspera_ = tiempoEspera;
    Manejador dbc(SQL_HANDLE_DBC, odbc::Entorno().get());
    SQLSetConnectAttr(dbc.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(EsperaConexion), 0);
    const SQLRETURN rc = SQLDriverConnectW(dbc.get(), nullptr, odbc::W(cadena), SQL_NTS, nullptr, 0, nullptr,
                                           SQL_DRIVER_NOPROMPT);
    if (!Bien(rc)) {
        const auto diagnosticos = odbc::Diagnosticos(dbc);
        const QString motivo = diagnosticos.isEmpty() ? QStringLiteral("el controlador ODBC no dio el motivo")
                                                      : diagnosticos.first().mensaje;
        runtime::Lanzar(runtime::Err::ErrorNoEspecificado,
                        QStringLiteral("No se pudo conectar con el servidor %1: %2").arg(nombre, motivo));
    }
    SQLWCHAR texto[128] = {};
    SQLSMALLINT largo = 0;
    SQLGetInfoW(dbc.get(), SQL_DBMS_NAME, texto, sizeof texto, &largo);
    motor_ = odbc::DeW(texto, std::min<qsizetype>(largo / static_cast<SQLSMALLINT>(sizeof(SQLWCHAR)), 127));
    if (motor_.contains(QStringLiteral("SQL Server"), Qt::CaseInsensitive)) dialecto_ = Dialecto::SqlServer;
    else if (motor_.contains(QStringLiteral("MariaDB"), Qt::CaseInsensitive) ||
             motor_.contains(QStringLiteral("MySQL"), Qt::CaseInsensitive))
        dialecto_ = Dialecto::MariaDb;
    dbc_ = std::move(dbc);
    if (dialecto_ == Dialecto::MariaDb) {
        // Names in double quotes, as SQL Server reads them; a backslash in a
        // literal (a Windows path in a mail) is an ordinary character.
        EjecutarUna(QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',ANSI_QUOTES,NO_BACKSLASH_ESCAPES')"));
        errores_.Clear();
    }
}

ConexionOdbc::~ConexionOdbc() { Close(); }

void ConexionOdbc::Close() {
    tablas_.clear();
    dbc_.Liberar();
}

void ConexionOdbc::ExigirAbierta() const {
    if (!dbc_) runtime::Lanzar(runtime::Err::ObjetoCerrado);
}

void ConexionOdbc::SetCommandTimeout(long segundos) { Conexion::SetCommandTimeout(segundos); }

void ConexionOdbc::SetIsolationLevel(long nivel) {
    Conexion::SetIsolationLevel(nivel);
    if (!dbc_) return;
    SQLULEN odbc = SQL_TXN_READ_COMMITTED;
    if (nivel == Aislamiento::LecturaNoConfirmada || nivel == Aislamiento::Caos) odbc = SQL_TXN_READ_UNCOMMITTED;
    else if (nivel == Aislamiento::LecturaRepetible) odbc = SQL_TXN_REPEATABLE_READ;
    else if (nivel == Aislamiento::Serializable) odbc = SQL_TXN_SERIALIZABLE;
    SQLSetConnectAttr(dbc_.get(), SQL_ATTR_TXN_ISOLATION, reinterpret_cast<SQLPOINTER>(odbc), 0);
}

void ConexionOdbc::SetDefaultDatabase(const QString& base) {
    ExigirAbierta();
    if (!base.isEmpty() && dialecto_ != Dialecto::Otro) {
        QString nombre = base;
        if (!Bien(SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_CURRENT_CATALOG, odbc::W(nombre), SQL_NTS))) {
            errores_.Clear();
            AgregarDiagnosticos(dbc_);
            if (errores_.Vacia()) errores_.Agregar({runtime::Err::ErrorNoEspecificado, base});
            LanzarPrimero();
        }
        tablas_.clear();
    }
    Conexion::SetDefaultDatabase(base);
}

ErrorBaseDatos ConexionOdbc::Traducir(const odbc::Diagnostico& d) const {
    if (dialecto_ == Dialecto::MariaDb) return ErrorMariaDb(d.nativo, d.mensaje);
    return {d.nativo, d.mensaje};
}

void ConexionOdbc::AgregarDiagnosticos(const Manejador& h) {
    for (const auto& d : odbc::Diagnosticos(h)) errores_.Agregar(Traducir(d));
}

void ConexionOdbc::LanzarPrimero() {
    const ErrorBaseDatos e = errores_.Vacia() ? ErrorBaseDatos{} : errores_.Item(0);
    runtime::Lanzar(e.Number, e.Description, motor_);
}

Manejador ConexionOdbc::NuevaSentencia() {
    Manejador h(SQL_HANDLE_STMT, dbc_.get());
    const SQLULEN segundos = tiempoEspera_ > 0 ? static_cast<SQLULEN>(tiempoEspera_) : 0;
    SQLSetStmtAttr(h.get(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(segundos), 0);
    return h;
}

bool ConexionOdbc::EjecutarUna(const QString& sql) {
    Manejador h = NuevaSentencia();
    QString texto = sql;
    SQLRETURN rc = SQLExecDirectW(h.get(), odbc::W(texto), SQL_NTS);
    bool bien = true;
    // A batch gives one result per statement; each may carry its error.
    for (int vueltas = 0; rc != SQL_NO_DATA && rc != SQL_INVALID_HANDLE && vueltas < 100000; ++vueltas) {
        if (rc == SQL_ERROR) {
            bien = false;
            const auto d = odbc::Diagnosticos(h);
            for (const auto& x : d) errores_.Agregar(Traducir(x));
            // The link is gone: nothing more will come.
            if (d.isEmpty() || d.first().estado.startsWith(QStringLiteral("08"))) break;
        }
        rc = SQLMoreResults(h.get());
    }
    return bien;
}

QString ConexionOdbc::Recortada(const QString& sentencia) {
    if (dialecto_ == Dialecto::Otro) return sentencia;
    return RecortarLiterales(sentencia, [this](const QString& tabla, const QString& columna) {
        return InfoTabla(tabla).tamanos.value(columna.toLower(), 0);
    });
}

QStringList ConexionOdbc::Partir(const QString& lote) const {
    if (dialecto_ == Dialecto::MariaDb) return TraducirLote(lote, Destino::MariaDb);
    return lote.trimmed().isEmpty() ? QStringList() : QStringList{lote};
}

void ConexionOdbc::Ejecutar(const QString& sql) {
    ExigirAbierta();
    errores_.Clear();
    if (dialecto_ != Dialecto::MariaDb) {
        // The server runs the batch itself; only over-long texts are changed.
        const QStringList partes = dialecto_ == Dialecto::SqlServer ? DividirLote(sql) : Partir(sql);
        QStringList cortadas;
        bool cambio = false;
        for (const QString& s : partes) {
            cortadas << Recortada(s);
            cambio = cambio || cortadas.last() != s;
        }
        if (!partes.isEmpty()) EjecutarUna(cambio ? cortadas.join(QStringLiteral("\r\n")) : sql);
        return;
    }
    for (const QString& s : Partir(sql)) {
        if (SoloComentarios(s)) continue;
        const QString verbo = PrimeraPalabra(s);
        if (verbo == QLatin1String("EXEC") || verbo == QLatin1String("EXECUTE")) {
            // The SQL Server procedures the program calls do not exist here.
            const QString nombre = s.section(QLatin1Char(' '), 1, 1, QString::SectionSkipEmpty);
            errores_.Agregar({Nativo::ProcedimientoNoEncontrado,
                              QStringLiteral("No se encontró el procedimiento almacenado '%1'.").arg(nombre)});
            continue;
        }
        EjecutarUna(Recortada(s));
    }
}

Manejador ConexionOdbc::Correr(const QString& sql, const QList<Valor>& parametros) {
    ExigirAbierta();
    Manejador h = NuevaSentencia();
    odbc::Parametros enlazados;
    QString texto = sql;
    SQLRETURN rc = enlazados.Enlazar(h, parametros);
    if (Bien(rc)) rc = SQLExecDirectW(h.get(), odbc::W(texto), SQL_NTS);
    if (!Bien(rc) && rc != SQL_NO_DATA) {
        AgregarDiagnosticos(h);
        if (errores_.Vacia()) errores_.Agregar({runtime::Err::ErrorNoEspecificado, QStringLiteral("Error de ODBC.")});
        LanzarPrimero();
    }
    return h;
}

const ConexionOdbc::Tabla& ConexionOdbc::InfoTabla(const QString& nombre) {
    const QString clave = NombreSimple(nombre).toLower();
    auto it = tablas_.constFind(clave);
    if (it != tablas_.cend()) return *it;
    static const Tabla vacia;
    if (dialecto_ == Dialecto::Otro || !dbc_) return vacia;
    Tabla t;
    QString primaria;
    int primarias = 0;
    try {
        // Its own handle and collection: the caller's errors stay as they are.
        const Errores guardados = errores_;
        Manejador h = NuevaSentencia();
        odbc::Parametros p;
        QString sql = QString::fromLatin1(ConsultaCatalogo(dialecto_));
        QStringList columnas;
        QList<QList<Valor>> filas;
        if (Bien(p.Enlazar(h, {NombreSimple(nombre)})) && Bien(SQLExecDirectW(h.get(), odbc::W(sql), SQL_NTS)))
            odbc::LeerResultado(h, columnas, filas);
        errores_ = guardados;
        for (const auto& f : filas) {
            const QString columna = f.value(0).toString();
            t.tamanos.insert(columna.toLower(), f.value(1).toLongLong());
            if (f.value(2).toLongLong() != 0) {
                t.clave = columna;
                t.identidad = true;
            }
            if (f.value(3).toLongLong() != 0) {
                primaria = columna;
                ++primarias;
            }
        }
        if (filas.isEmpty()) return vacia;  // not there (yet): asked again next time
    } catch (const runtime::ErrorSistema&) {
        return vacia;
    }
    if (t.clave.isEmpty() && primarias == 1) t.clave = primaria;
    return *tablas_.insert(clave, t);
}

std::unique_ptr<Cursor> ConexionOdbc::AbrirCursor(const QString& sql, const QList<Valor>& parametros,
                                                  bool actualizable) {
    ExigirAbierta();
    errores_.Clear();
    const QStringList partes = Partir(sql);
    if (partes.isEmpty()) runtime::Lanzar(runtime::Err::ComandoNoValido, QStringLiteral("La consulta está vacía."));
    for (qsizetype i = 0; i + 1 < partes.size(); ++i) Ejecutar(partes[i]);
    return CursorOdbc::Abrir(*this, partes.last(), parametros, actualizable);
}

}  // namespace platform::db
