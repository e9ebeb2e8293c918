#pragma once
// What the sender and mail-command tests share: the business database
// reached as the program connects, and the mail settings of the program's user.
#include "common/Contexto.h"
#include "platform/ui/MsgBox.h"
#include "BasePrueba.h"
#include "ServidorPrueba.h"
#include "VistaPrueba.h"

#include <gtest/gtest.h>

namespace pruebas {

// The mail settings row of the program's user.
struct Ajustes {
    QString servidor = QStringLiteral("Otro");
    QString servidorOtro;
    QString usuario = QStringLiteral("ana@empresa.test");
    QString clave = QStringLiteral("secreta");
    QString nombre = QStringLiteral("Ana Pérez");
};

class ConBaseDeNegocio : public BasePrueba {
protected:
    VistaPrueba vista;

    void SetUp() override {
        BasePrueba::SetUp();
        common::Contexto().UsuarioLogeado = QStringLiteral("ANA");
        common::Datos().SetBaseDeDatos(QStringLiteral("GESTION"));
        common::Datos().Conectar(false, 3, QString(), true, true);
        ASSERT_TRUE(common::Datos().Conectado());
    }

    static void Sql(const QString& s) { common::Datos().EjecutarSQL(s); }
    static QString Literal(const QString& v) { return common::Datos().ValorSQL(v, QStringLiteral("'")); }

    // Replaces ANA's row.
    static void GuardarAjustes(const Ajustes& a) {
        Sql(QStringLiteral("DELETE FROM ta_usuarios"));
        Sql(QStringLiteral("INSERT INTO ta_usuarios (Nombre, eMail_Server, email_usuario, email_Password, "
                           "Email_Nombre, email_ServerOtro) VALUES ('ANA', %1, %2, %3, %4, %5)")
                .arg(Literal(a.servidor), Literal(a.usuario), Literal(a.clave), Literal(a.nombre),
                     Literal(a.servidorOtro)));
    }
    static QString En(int puerto) { return QStringLiteral("127.0.0.1:%1").arg(puerto); }
};

}  // namespace pruebas
