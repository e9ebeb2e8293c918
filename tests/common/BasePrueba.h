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
#include "ApoyoVentana.h"
#include "ConexionPrueba.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace pruebas {

using ConexionEspia = ConexionSimulada;

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

    static QList<QVariantMap> Filas(components::AccesoDatos& datos, const QString& sql) {
        return FilasDe(datos, sql);
    }
};

}  // namespace pruebas
