#include "components/AccesoDatos.h"

#include "platform/db/LiteralSql.h"
#include "platform/db/Motores.h"
#include "platform/runtime/ErrorSistema.h"
#include "platform/ui/MsgBox.h"

namespace components {

using namespace platform;

namespace {
QString UsuarioDelSistema() {
    QString u = qEnvironmentVariable("USER");
    if (u.isEmpty()) u = qEnvironmentVariable("LOGNAME");
    return u.isEmpty() ? QStringLiteral("usuario") : u;
}

bool EsIdentificador(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.'))) return false;
    return true;
}
}  // namespace

QString AccesoDatos::Motor() const {
    if (textoConexion_.contains(QStringLiteral("oracle"), Qt::CaseInsensitive) ||
        proveedor_.contains(QStringLiteral("oracle"), Qt::CaseInsensitive))
        return QStringLiteral("Oracle");
    if (conexion_) return conexion_->Motor();
    return proveedor_;
}

bool AccesoDatos::Conectado() const { return conexion_ && conexion_->Abierta(); }

void AccesoDatos::SetConectado(bool valor) {
    if (!valor && conexion_) conexion_->Close();
}

db::Conexion& AccesoDatos::Conexion() const {
    if (!conexion_) runtime::Lanzar(runtime::Err::ObjetoNoEstablecido);
    return *conexion_;
}

db::Conexion& AccesoDatos::ConexionAbierta() const {
    if (!conexion_ || !conexion_->Abierta()) runtime::Lanzar(runtime::Err::ObjetoCerrado);
    return *conexion_;
}

void AccesoDatos::Conectar(bool perfilIncompleto, long, const QString& textoConexion, bool, bool) {
    if (base_.trimmed().isEmpty()) base_ = QStringLiteral("GESTION");
    if (usuario_.trimmed().isEmpty()) usuario_ = UsuarioDelSistema();
    textoConexion_ = textoConexion;
    if (conexion_) conexion_->Close();
    const long espera = conexion_ ? conexion_->CommandTimeout() : 30;
    conexion_.reset();
    try {
        conexion_ = db::AbrirConexion({servidor_, base_, usuario_, password_, textoConexion, espera});
        conexion_->SetDefaultDatabase(base_);
    } catch (const runtime::ErrorSistema& e) {
        conexion_.reset();
        QString texto = QStringLiteral("No se pudo conectar con la base de datos %1.\r\n\r\n%2")
                            .arg(base_, e.Descripcion);
        if (perfilIncompleto && !servidor_.trimmed().isEmpty())
            texto += QStringLiteral("\r\n\r\nEl perfil de conexión no indica el usuario.");
        ui::MsgBox(texto, ui::Estilo::OKOnly + ui::Estilo::Critical,
                   QStringLiteral("Conexión a la base de datos"));
    }
}

void AccesoDatos::AbrirRecordset(const QString& sql, db::Recordset& rs, db::Conexion* conexion,
                                 int tipoCursor, int tipoBloqueo, int, bool) {
    db::Conexion& c = conexion ? *conexion : ConexionAbierta();
    rs.Open(sql, c, tipoCursor, tipoBloqueo);
}

bool AccesoDatos::BuscarRegistro(const QString& tabla, const db::Valor& valor, const QString& columna,
                                 db::Recordset& rs, int, const QString&, bool) {
    if (!EsIdentificador(tabla) || !EsIdentificador(columna)) runtime::Lanzar(runtime::Err::ArgumentoNoValido);
    rs.Open(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(tabla, columna), ConexionAbierta(),
            db::Cursores::ForwardOnly, db::Bloqueos::ReadOnly, {valor});
    return !rs.Eof();
}

bool AccesoDatos::ExisteRegistro(const QString& tabla, const db::Valor& valor, const QString& columna) {
    if (!EsIdentificador(tabla) || !EsIdentificador(columna)) runtime::Lanzar(runtime::Err::ArgumentoNoValido);
    db::Recordset rs;
    rs.Open(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(tabla, columna), ConexionAbierta(),
            db::Cursores::ForwardOnly, db::Bloqueos::ReadOnly, {valor});
    return !rs.Eof();
}

void AccesoDatos::AbrirConsulta(const QString& sql, db::Recordset& rs, const QList<db::Valor>& parametros) {
    rs.Open(sql, ConexionAbierta(), db::Cursores::ForwardOnly, db::Bloqueos::ReadOnly, parametros);
}

void AccesoDatos::EjecutarSQL(const QString& sql, long) {
    if (!conexion_) runtime::Lanzar(runtime::Err::ObjetoCerrado);
    conexion_->Ejecutar(sql);
}

void AccesoDatos::CerrarRecordset(db::Recordset& rs) { rs.Close(); }

QString AccesoDatos::ValorSQL(const db::Valor& valor, const QString& marcador) const {
    if (db::EsNulo(valor)) return QStringLiteral("Null");
    const QString texto = valor.toString();
    // Text and dates are quoted; anything else that is not a plain number
    // is quoted too, so it cannot change the statement.
    if (marcador != QLatin1String("'") && marcador != QLatin1String("#")) {
        if (texto.trimmed().isEmpty()) return QStringLiteral("Null");
        bool numero = false;
        texto.trimmed().toDouble(&numero);
        if (numero) return texto.trimmed();
    }
    return db::LiteralTexto(texto);
}

void AccesoDatos::EstablecerConexion(std::unique_ptr<db::Conexion> conexion) {
    conexion_ = std::move(conexion);
}

}  // namespace components
