#pragma once
// What the common tests share: a real embedded business and statistics
// database in a temporary folder, each behind a connection that records the
// statements it is given and can stand in a fixed answer for one of them.
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

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

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

class ConexionEspia : public platform::db::Conexion {
public:
    explicit ConexionEspia(std::unique_ptr<platform::db::Conexion> real) : real_(std::move(real)) {}

    // Every statement, in order, as it was given.
    QStringList sentencias;
    // When it returns a cursor for a statement, that cursor is the answer.
    std::function<std::unique_ptr<platform::db::Cursor>(const QString&)> sustituto;

    void Ejecutar(const QString& sql) override {
        sentencias << sql;
        real_->Ejecutar(sql);
        errores_ = real_->Errors();
    }
    std::unique_ptr<platform::db::Cursor> AbrirCursor(const QString& sql,
                                                      const QList<platform::db::Valor>& parametros,
                                                      bool actualizable) override {
        sentencias << sql;
        if (sustituto)
            if (auto c = sustituto(sql)) return c;
        try {
            return real_->AbrirCursor(sql, parametros, actualizable);
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

inline QDateTime MomentoFijo() { return QDateTime(QDate(2026, 12, 8), QTime(21, 5, 9)); }

class BasePrueba : public ::testing::Test {
protected:
    QTemporaryDir dir;
    VariableEntorno datos{"RECEPCION_DATOS", dir.filePath(QStringLiteral("datos"))};
    // The log and trace files go to TMP (TEMP set) inside the test folder.
    VariableEntorno temp{"TEMP", QStringLiteral("1")};
    VariableEntorno tmp{"TMP", dir.path()};
    PromptsGuionados prompts;
    ConexionEspia* negocio = nullptr;
    ConexionEspia* estadisticas = nullptr;

    void SetUp() override {
        common::ReiniciarContexto();
        common::TablaConfiguracion().clear();
        common::Ajustes() = common::AjustesGlobales{};
        common::EstablecerReloj(&MomentoFijo);
        platform::runtime::EstablecerNombreEjecutable(QStringLiteral("recepcion-email"));
        negocio = Conectar(common::Datos(), QStringLiteral("GESTION"));
        estadisticas = Conectar(common::DatosEstadisticas(), platform::db::BaseEstadisticas());
    }
    void TearDown() override {
        platform::runtime::Archivos::CerrarTodos();
        common::EstablecerReloj({});
        platform::runtime::EstablecerNombreEjecutable(QString());
        common::TablaConfiguracion().clear();
        common::Ajustes() = common::AjustesGlobales{};
        common::ReiniciarContexto();
    }

    static ConexionEspia* Conectar(components::AccesoDatos& datos, const QString& base) {
        datos.SetBaseDeDatos(base);
        datos.SetUsuario(QStringLiteral("ANA"));
        auto espia = std::make_unique<ConexionEspia>(
            platform::db::AbrirConexion({QString(), base, QStringLiteral("ANA"), QString(), QString(), 30}));
        ConexionEspia* p = espia.get();
        datos.EstablecerConexion(std::move(espia));
        return p;
    }

    // One configuration row, written straight to the table.
    static void Fila(components::AccesoDatos& datos, const QString& clave, const QString& valor,
                     const QString& aux = QString()) {
        datos.EjecutarSQL(QStringLiteral("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor, ValorAux) "
                                         "VALUES ('DATOS', %1, %2, %3)")
                              .arg(datos.ValorSQL(clave, QStringLiteral("'")),
                                   datos.ValorSQL(valor, QStringLiteral("'")),
                                   aux.isNull() ? QStringLiteral("Null") : datos.ValorSQL(aux, QStringLiteral("'"))));
        ASSERT_EQ(datos.Conexion().Errors().Count(), 0);
    }

    // The rows of a query as column → value maps.
    static QList<QVariantMap> Filas(components::AccesoDatos& datos, const QString& sql) {
        platform::db::Recordset rs;
        rs.Open(sql, datos.Conexion());
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
