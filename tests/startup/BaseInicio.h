#pragma once
// What the start-up tests share: embedded databases, the application and
// temporary folders in a temporary directory, a fixed clock, and a stand-in
// for the database server that records what it is sent and answers the
// statements it is told to with chosen native numbers.
#include "common/AjustesGlobales.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "common/FechaServidor.h"
#include "platform/db/Motores.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/Archivos.h"
#include "platform/runtime/Entorno.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace pruebas {

// A cursor over rows given by the test.
class CursorFijo : public platform::db::Cursor {
public:
    CursorFijo(QStringList columnas, QList<QList<platform::db::Valor>> filas)
        : columnas_(std::move(columnas)), filas_(std::move(filas)) {}
    const QStringList& Columnas() const override { return columnas_; }
    bool Siguiente(QList<platform::db::Valor>& fila) override {
        if (filas_.isEmpty()) return false;
        fila = filas_.takeFirst();
        return true;
    }

private:
    QStringList columnas_;
    QList<QList<platform::db::Valor>> filas_;
};

class ServidorSimulado : public platform::db::Conexion {
public:
    explicit ServidorSimulado(std::unique_ptr<platform::db::Conexion> real) : real_(std::move(real)) {}

    QStringList enviadas;   // Ejecutar, in order
    QStringList consultas;  // AbrirCursor, in order
    // Statements that begin with the text get this error and are not run.
    QList<QPair<QString, platform::db::ErrorBaseDatos>> respuestas;
    // Any other EXEC succeeds, as on a server that has the procedure.
    bool procedimientosExisten = true;
    // When it gives a cursor for a query, that is the server's answer.
    std::function<std::unique_ptr<platform::db::Cursor>(const QString&)> sustituto;

    void Ejecutar(const QString& sql) override {
        enviadas << sql;
        for (const auto& [inicio, error] : respuestas)
            if (sql.startsWith(inicio)) {
                errores_.Clear();
                errores_.Agregar(error);
                return;
            }
        if (procedimientosExisten && sql.trimmed().startsWith(QStringLiteral("EXEC"))) {
            errores_.Clear();
            return;
        }
        real_->Ejecutar(sql);
        errores_ = real_->Errors();
    }
    std::unique_ptr<platform::db::Cursor> AbrirCursor(const QString& sql, const QList<platform::db::Valor>& p,
                                                      bool actualizable) override {
        consultas << sql;
        if (sustituto)
            if (auto c = sustituto(sql)) return c;
        try {
            return real_->AbrirCursor(sql, p, actualizable);
        } catch (...) {
            errores_ = real_->Errors();
            throw;
        }
    }
    void Close() override { real_->Close(); }
    bool Abierta() const override { return real_->Abierta(); }
    QString Motor() const override { return real_->Motor(); }

private:
    std::unique_ptr<platform::db::Conexion> real_;
};

inline QDateTime MomentoInicio() { return QDateTime(QDate(2026, 12, 8), QTime(21, 5, 9)); }

class BaseInicio : public ::testing::Test {
protected:
    QTemporaryDir dir;
    VariableEntorno datos{"RECEPCION_DATOS", dir.filePath(QStringLiteral("datos"))};
    VariableEntorno config{"XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config"))};
    VariableEntorno temp{"TEMP", dir.filePath(QStringLiteral("temp"))};
    VariableEntorno tmp{"TMP", dir.filePath(QStringLiteral("temp"))};
    PromptsGuionados prompts;

    QString Aplicacion() const { return dir.filePath(QStringLiteral("app")); }
    QString Temporal() const { return dir.filePath(QStringLiteral("temp")); }

    void SetUp() override {
        QDir().mkpath(Aplicacion());
        QDir().mkpath(Temporal());
        common::ReiniciarContexto();
        common::TablaConfiguracion().clear();
        common::Ajustes() = common::AjustesGlobales{};
        common::EstablecerReloj(&MomentoInicio);
        platform::runtime::EstablecerCarpetaAplicacion(Aplicacion());
        platform::runtime::EstablecerNombreEjecutable(QStringLiteral("recepcion-email"));
        platform::runtime::EstablecerLineaComandos(QString());
    }
    void TearDown() override {
        platform::runtime::Archivos::CerrarTodos();
        common::EstablecerReloj({});
        platform::runtime::EstablecerNombreEjecutable(QString());
        platform::runtime::EstablecerCarpetaAplicacion(QString());
        common::TablaConfiguracion().clear();
        common::Ajustes() = common::AjustesGlobales{};
        common::ReiniciarContexto();
    }

    // Datos on the embedded business database behind the simulated server.
    ServidorSimulado* ConectarNegocio(const QString& usuario = QStringLiteral("ANA")) {
        auto& d = common::Datos();
        d.SetBaseDeDatos(QStringLiteral("GESTION"));
        d.SetUsuario(usuario);
        auto s = std::make_unique<ServidorSimulado>(
            platform::db::AbrirConexion({QString(), QStringLiteral("GESTION"), usuario, QString(), QString(), 30}));
        ServidorSimulado* p = s.get();
        d.EstablecerConexion(std::move(s));
        return p;
    }

    static QList<QVariantMap> Filas(components::AccesoDatos& d, const QString& sql) {
        platform::db::Recordset rs;
        rs.Open(sql, d.Conexion());
        QList<QVariantMap> filas;
        for (; !rs.Eof(); rs.MoveNext()) {
            QVariantMap fila;
            for (int i = 0; i < rs.FieldCount(); ++i) fila[rs.FieldName(i)] = rs.Fields(rs.FieldName(i)).Value();
            filas << fila;
        }
        return filas;
    }
};

}  // namespace pruebas
