#pragma once
// The import tests' fixture: the business database, an inbox of the account
// "ventas@demo.test" in a real Maildir and the attachments folder, all in the
// test's temporary folder.
#include "reception/LeerOutlook.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "platform/db/Recordset.h"
#include "platform/ui/RespondedorDesatendido.h"
#include "BasePrueba.h"
#include "BuzonPrueba.h"
#include "VistaPrueba.h"

#include <gtest/gtest.h>

#include <QList>
#include <QMap>

namespace pruebas {

class Importacion : public BasePrueba {
protected:
    VariableEntorno correo{"RECEPCION_CORREO", dir.filePath(QStringLiteral("correo"))};
    BuzonPrueba bandeja{dir.filePath(QStringLiteral("correo")), QStringLiteral("ventas@demo.test")};
    VistaPrueba vista;
    QDateTime ahora = MomentoFijo();

    void SetUp() override {
        BasePrueba::SetUp();
        QDir().mkpath(dir.filePath(QStringLiteral("adjuntos")));
        common::TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
        common::Datos().SetBaseDeDatos(QStringLiteral("GESTION"));
        common::Datos().Conectar(false, 3, QString(), true, true);
        common::Contexto().UsuarioLogeado = QStringLiteral("ANA");
        vista.cuentas = QStringLiteral("ventas@demo.test");
        vista.adjuntos = dir.filePath(QStringLiteral("adjuntos"));
    }

    void Importar(const QString& cuenta = QStringLiteral("ventas@demo.test")) {
        QString fd, fh;
        reception::LeerOutlook(vista, cuenta, fd, fh);
    }
    // Rows as "column=value" maps, in insertion order.
    QList<QMap<QString, QString>> Filas() {
        QList<QMap<QString, QString>> filas;
        platform::db::Recordset rs;
        common::Datos().AbrirRecordset(QStringLiteral("SELECT * FROM V_MA_EMAILMOV ORDER BY ID"), rs);
        for (; !rs.Eof(); rs.MoveNext()) {
            QMap<QString, QString> f;
            for (int i = 0; i < rs.FieldCount(); ++i)
                f.insert(rs.FieldName(i).toUpper(), rs.Fields(rs.FieldName(i)).Value().toString());
            filas << f;
        }
        return filas;
    }
    QString Log() const { return QString::fromUtf8(LeerArchivo(EnTemporal(QStringLiteral("CVERR.LOG")))); }
};

// The unattended answerer for the life of the object.
struct SinOperador {
    std::shared_ptr<platform::ui::Respondedor> anterior =
        platform::ui::EstablecerRespondedor(std::make_shared<platform::ui::RespondedorDesatendido>(false));
    ~SinOperador() { platform::ui::EstablecerRespondedor(anterior); }
};

}  // namespace pruebas
