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
#include "ApoyoVentana.h"
#include "ConexionPrueba.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace pruebas {

using ServidorSimulado = ConexionSimulada;

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

    // Datos on the embedded business database behind the simulated server.
    ServidorSimulado* ConectarNegocio(const QString& usuario = QStringLiteral("ANA")) {
        auto& d = common::Datos();
        d.SetBaseDeDatos(QStringLiteral("GESTION"));
        d.SetUsuario(usuario);
        auto s = std::make_unique<ServidorSimulado>(
            platform::db::AbrirConexion({QString(), QStringLiteral("GESTION"), usuario, QString(), QString(), 30}));
        s->procedimientosExisten = true;
        ServidorSimulado* p = s.get();
        d.EstablecerConexion(std::move(s));
        return p;
    }

    static QList<QVariantMap> Filas(components::AccesoDatos& d, const QString& sql) { return FilasDe(d, sql); }
};

}  // namespace pruebas
