#pragma once
// The data-access component: one database connection with its login.
// Two instances live for the whole run (Datos and DatosEstadisticas).
#include "platform/db/Conexion.h"
#include "platform/db/Recordset.h"

#include <QString>

#include <memory>

namespace components {

class AccesoDatos {
public:
    AccesoDatos() = default;
    AccesoDatos(const AccesoDatos&) = delete;
    AccesoDatos& operator=(const AccesoDatos&) = delete;

    // Set before connecting; reading gives the value in use.
    QString Servidor() const { return servidor_; }
    void SetServidor(const QString& v) { servidor_ = v; }
    QString BaseDeDatos() const { return base_; }
    void SetBaseDeDatos(const QString& v) { base_ = v; }
    QString Usuario() const { return usuario_; }
    void SetUsuario(const QString& v) { usuario_ = v; }
    QString Password() const { return password_; }
    void SetPassword(const QString& v) { password_ = v; }
    QString Proveedor() const { return proveedor_; }
    void SetProveedor(const QString& v) { proveedor_ = v; }
    // Engine texts; they hold "oracle" when the database is Oracle.
    QString Motor() const;
    QString ProveedorActual() const { return Motor(); }

    bool Conectado() const;
    void SetConectado(bool valor);
    // The open connection; 91 when there has never been one.
    platform::db::Conexion& Conexion() const;

    // Opens the connection from the properties (or the connection text).
    // When it cannot, the operator is told which database and why, and
    // Conectado stays false. perfilIncompleto: the profile lacks server or user.
    void Conectar(bool perfilIncompleto, long modo, const QString& textoConexion, bool, bool);

    // Connection omitted (nullptr): the instance's own.
    void AbrirRecordset(const QString& sql, platform::db::Recordset& rs,
                        platform::db::Conexion* conexion = nullptr,
                        int tipoCursor = platform::db::Cursores::ForwardOnly,
                        int tipoBloqueo = platform::db::Bloqueos::ReadOnly,
                        int opciones = platform::db::Opciones::SinEspecificar, bool = true);
    // True when the table has a row whose column equals the value; the
    // recordset is then open on it. The value is bound, never pasted.
    bool BuscarRegistro(const QString& tabla, const platform::db::Valor& valor,
                        const QString& columna, platform::db::Recordset& rs, int = 8,
                        const QString& = {}, bool = true);
    // Whether such a row exists, without reading it: the import's duplicate
    // test runs once per message of the period.
    bool ExisteRegistro(const QString& tabla, const platform::db::Valor& valor, const QString& columna);
    // A read-only, forward-only query whose "?" take the values bound.
    void AbrirConsulta(const QString& sql, platform::db::Recordset& rs,
                       const QList<platform::db::Valor>& parametros);
    // Database errors stay in Conexion().Errors(); they do not raise.
    void EjecutarSQL(const QString& sql, long = 0);
    void CerrarRecordset(platform::db::Recordset& rs);
    // The value as an SQL literal: marker "'" quotes text (apostrophes doubled).
    QString ValorSQL(const platform::db::Valor& valor, const QString& marcador) const;

    // Tests put a connection of their own here.
    void EstablecerConexion(std::unique_ptr<platform::db::Conexion> conexion);

private:
    platform::db::Conexion& ConexionAbierta() const;

    QString servidor_, base_, usuario_, password_, proveedor_, textoConexion_;
    std::unique_ptr<platform::db::Conexion> conexion_;
};

}  // namespace components
