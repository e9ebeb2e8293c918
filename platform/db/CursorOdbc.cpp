#include "platform/db/CursorOdbc.h"

#include "platform/db/ConexionOdbc.h"
#include "platform/db/LexicoSql.h"
#include "platform/db/RecorteTextos.h"
#include "platform/db/ValoresOdbc.h"
#include "platform/runtime/ErrorSistema.h"

namespace platform::db {

using namespace lexico;

namespace {
const QString ColumnaClave = QStringLiteral("__clave__");

// Index of the FROM that ends the outer select list; -1 if none.
qsizetype FromExterior(const QList<Token>& t) {
    int nivel = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (EsSimbolo(t[i], '(')) ++nivel;
        else if (EsSimbolo(t[i], ')')) --nivel;
        else if (nivel == 0 && Es(t[i], "FROM")) return i;
    }
    return -1;
}

// Skips results without columns (a SET or an INSERT before the query).
SQLRETURN HastaFilas(const odbc::Manejador& h) {
    for (;;) {
        SQLSMALLINT n = 0;
        const SQLRETURN rc = SQLNumResultCols(h.get(), &n);
        if (!odbc::Bien(rc) || n > 0) return rc;
        const SQLRETURN mas = SQLMoreResults(h.get());
        if (mas == SQL_NO_DATA) return SQL_SUCCESS;
        if (!odbc::Bien(mas)) return mas;
    }
}
}  // namespace

QString CursorOdbc::TablaDeConsulta(const QString& consulta) {
    QList<Token> t = Lexico(consulta);
    for (Token& x : t)
        if (x.tipo == Tipo::Salto) x.tipo = Tipo::Espacio;
    const qsizetype i = lexico::Siguiente(t, 0);
    if (i < 0 || !Es(t[i], "SELECT")) return {};
    const qsizetype from = FromExterior(t);
    const qsizetype nombre = from >= 0 ? lexico::Siguiente(t, from + 1) : -1;
    if (nombre < 0 || (t[nombre].tipo != Tipo::Palabra && t[nombre].tipo != Tipo::Literal)) return {};
    // One table: no list, no join after it.
    for (qsizetype k = nombre + 1; k < t.size(); ++k) {
        if (EsSimbolo(t[k], ',') || Es(t[k], "JOIN")) return {};
        if (Es(t[k], "WHERE") || Es(t[k], "ORDER") || Es(t[k], "GROUP") || Es(t[k], "LIMIT")) break;
    }
    return NombreSimple(t[nombre].texto);
}

std::unique_ptr<Cursor> CursorOdbc::Abrir(ConexionOdbc& conexion, QString consulta, const QList<Valor>& parametros,
                                          bool actualizable) {
    QString tabla, clave;
    if (actualizable) {
        tabla = TablaDeConsulta(consulta);
        if (!tabla.isEmpty()) clave = conexion.InfoTabla(tabla).clave;
        if (!clave.isEmpty()) {
            // The key goes last: MariaDB takes a bare * only first in the list.
            const QList<Token> t = Lexico(consulta);
            const qsizetype from = FromExterior(t);
            QString nueva;
            for (qsizetype i = 0; i < t.size(); ++i) {
                if (i == from) nueva += QStringLiteral(", \"%1\" AS %2 ").arg(clave, ColumnaClave);
                nueva += t[i].texto;
            }
            consulta = nueva;
        }
    }
    std::unique_ptr<CursorOdbc> cursor(new CursorOdbc(conexion, tabla, clave));
    odbc::Manejador h = conexion.Correr(consulta, parametros);
    QStringList columnas;
    QList<QList<Valor>> filas;
    SQLRETURN rc = HastaFilas(h);
    if (odbc::Bien(rc)) rc = odbc::LeerResultado(h, columnas, filas);
    if (!odbc::Bien(rc)) {
        conexion.AgregarDiagnosticos(h);
        conexion.LanzarPrimero();
    }
    if (!clave.isEmpty() && !columnas.isEmpty() &&
        columnas.last().compare(ColumnaClave, Qt::CaseInsensitive) == 0) {
        columnas.removeLast();
        for (auto& f : filas) cursor->claves_.append(f.takeLast());
    } else {
        cursor->clave_.clear();
    }
    cursor->columnas_ = std::move(columnas);
    cursor->filas_ = std::move(filas);
    return cursor;
}

bool CursorOdbc::Siguiente(QList<Valor>& fila) {
    if (siguiente_ >= filas_.size()) return false;
    fila = filas_[siguiente_];
    claveFila_ = claves_.value(siguiente_);
    ++siguiente_;
    return true;
}

QString CursorOdbc::Nombre(const QString& identificador) const {
    QString n = identificador;
    return QLatin1Char('"') + n.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QList<Valor> CursorOdbc::Recortados(const QStringList& columnas, QList<Valor> valores) {
    const auto& info = conexion_.InfoTabla(tabla_);
    for (qsizetype i = 0; i < valores.size() && i < columnas.size(); ++i)
        if (valores[i].typeId() == QMetaType::QString)
            valores[i] = Recortar(valores[i].toString(), info.tamanos.value(columnas[i].toLower(), 0));
    return valores;
}

QList<Valor> CursorOdbc::Insertar(const QStringList& columnas, const QList<Valor>& valores) {
    if (clave_.isEmpty()) return Cursor::Insertar(columnas, valores);
    conexion_.Errors().Clear();
    const bool sqlServer = conexion_.Tipo() == ConexionOdbc::Dialecto::SqlServer;
    QStringList nombres, marcas;
    qsizetype posicionClave = -1;
    for (qsizetype i = 0; i < columnas.size(); ++i) {
        nombres << Nombre(columnas[i]);
        marcas << QStringLiteral("?");
        if (columnas[i].compare(clave_, Qt::CaseInsensitive) == 0) posicionClave = i;
    }
    QString sql = QStringLiteral("INSERT INTO %1 ").arg(Nombre(tabla_));
    if (columnas.isEmpty()) sql += sqlServer ? QStringLiteral("DEFAULT VALUES") : QStringLiteral("() VALUES ()");
    else sql += QStringLiteral("(%1) VALUES (%2)").arg(nombres.join(QLatin1Char(',')), marcas.join(QLatin1Char(',')));
    const bool leerIdentidad = posicionClave < 0 && conexion_.InfoTabla(tabla_).identidad;
    if (leerIdentidad && sqlServer) sql += QStringLiteral("; SELECT SCOPE_IDENTITY()");
    QList<Valor> clave;
    {
        odbc::Manejador h = conexion_.Correr(sql, Recortados(columnas, valores));
        if (leerIdentidad && sqlServer) {
            QStringList c;
            QList<QList<Valor>> f;
            if (odbc::Bien(SQLMoreResults(h.get()))) odbc::LeerResultado(h, c, f);
            if (!f.isEmpty()) clave = f.first();
        }
    }
    if (posicionClave >= 0) clave = {valores[posicionClave]};
    else if (leerIdentidad && !sqlServer) {
        QStringList c;
        QList<QList<Valor>> f;
        odbc::Manejador h = conexion_.Correr(QStringLiteral("SELECT LAST_INSERT_ID()"), {});
        odbc::LeerResultado(h, c, f);
        if (!f.isEmpty()) clave = f.first();
    }
    claveFila_ = clave.value(0);
    // Read the row back so defaults and the identity are seen as stored.
    QStringList leidas;
    QList<QList<Valor>> filas;
    {
        odbc::Manejador h = conexion_.Correr(
            QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(Nombre(tabla_), Nombre(clave_)), {claveFila_});
        odbc::LeerResultado(h, leidas, filas);
    }
    QList<Valor> fila(columnas_.size());
    if (!filas.isEmpty())
        for (qsizetype i = 0; i < leidas.size(); ++i)
            for (qsizetype j = 0; j < columnas_.size(); ++j)
                if (columnas_[j].compare(leidas[i], Qt::CaseInsensitive) == 0) fila[j] = filas.first().value(i);
    return fila;
}

void CursorOdbc::Modificar(const Valor& clave, const QStringList& columnas, const QList<Valor>& valores) {
    if (clave_.isEmpty()) return Cursor::Modificar(clave, columnas, valores);
    conexion_.Errors().Clear();
    QStringList asignaciones;
    for (const QString& c : columnas) asignaciones << Nombre(c) + QStringLiteral(" = ?");
    QList<Valor> todos = Recortados(columnas, valores);
    todos << clave;
    conexion_.Correr(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                         .arg(Nombre(tabla_), asignaciones.join(QStringLiteral(", ")), Nombre(clave_)),
                     todos);
}

}  // namespace platform::db
