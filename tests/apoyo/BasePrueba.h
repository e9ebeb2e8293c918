#pragma once
// The database fixture: the embedded databases, the application, config and
// temporary folders inside a temporary directory, the fixed clock, scripted
// prompts, and recording connections in place of the server's.
#include "common/AjustesGlobales.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "common/FechaServidor.h"
#include "platform/db/Motores.h"
#include "platform/runtime/Archivos.h"
#include "platform/runtime/Entorno.h"
#include "ApoyoVentana.h"
#include "ConexionPrueba.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QVariantMap>

#include <memory>

namespace pruebas {

// The clock the tests fix.
inline QDateTime MomentoFijo() { return QDateTime(QDate(2026, 12, 8), QTime(21, 5, 9)); }

class BasePrueba : public ::testing::Test {
protected:
    QTemporaryDir dir;
    VariableEntorno datos{"RECEPCION_DATOS", dir.filePath(QStringLiteral("datos"))};
    VariableEntorno config{"XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config"))};
    // The log and trace files go to TMP (TEMP set) inside the test folder.
    VariableEntorno temp{"TEMP", dir.filePath(QStringLiteral("temp"))};
    VariableEntorno tmp{"TMP", dir.filePath(QStringLiteral("temp"))};
    PromptsGuionados prompts;

    QString Aplicacion() const { return dir.filePath(QStringLiteral("app")); }
    QString Temporal() const { return dir.filePath(QStringLiteral("temp")); }
    QString EnTemporal(const QString& nombre) const { return Temporal() + QLatin1Char('/') + nombre; }

    void SetUp() override {
        QDir().mkpath(Aplicacion());
        QDir().mkpath(Temporal());
        common::ReiniciarContexto();
        common::TablaConfiguracion().clear();
        common::Ajustes() = common::AjustesGlobales{};
        common::EstablecerReloj(&MomentoFijo);
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

    // The embedded database behind a recording connection, as that user.
    static ConexionPrueba* Conectar(components::AccesoDatos& d, const QString& base,
                                    const QString& usuario = QStringLiteral("ANA")) {
        d.SetBaseDeDatos(base);
        d.SetUsuario(usuario);
        auto c = std::make_unique<ConexionPrueba>(
            platform::db::AbrirConexion({QString(), base, usuario, QString(), QString(), 30}));
        ConexionPrueba* p = c.get();
        d.EstablecerConexion(std::move(c));
        return p;
    }
    // The business database, on a server that has every procedure.
    static ConexionPrueba* ConectarNegocio(const QString& usuario = QStringLiteral("ANA")) {
        ConexionPrueba* p = Conectar(common::Datos(), QStringLiteral("GESTION"), usuario);
        p->procedimientosExisten = true;
        return p;
    }

    // One configuration row, written straight to the table.
    static void Fila(components::AccesoDatos& d, const QString& clave, const QString& valor,
                     const QString& aux = QString()) {
        d.EjecutarSQL(QStringLiteral("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor, ValorAux) "
                                     "VALUES ('DATOS', %1, %2, %3)")
                          .arg(d.ValorSQL(clave, QStringLiteral("'")), d.ValorSQL(valor, QStringLiteral("'")),
                               aux.isNull() ? QStringLiteral("Null") : d.ValorSQL(aux, QStringLiteral("'"))));
        ASSERT_EQ(d.Conexion().Errors().Count(), 0);
    }

    static QList<QVariantMap> Filas(components::AccesoDatos& d, const QString& sql) { return FilasDe(d, sql); }
};

// The same, with the business and statistics databases connected from the start.
class BaseConectada : public BasePrueba {
protected:
    ConexionPrueba* negocio = nullptr;
    ConexionPrueba* estadisticas = nullptr;

    void SetUp() override {
        BasePrueba::SetUp();
        negocio = Conectar(common::Datos(), QStringLiteral("GESTION"));
        estadisticas = Conectar(common::DatosEstadisticas(), platform::db::BaseEstadisticas());
    }
};

}  // namespace pruebas
