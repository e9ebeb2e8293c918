#pragma once
// What the sender and mail-command tests share: the business database in a
// temporary folder, the mail settings of the program's user, a view that
// counts pointer resets, and prompts answered by a function.
#include "common/Contexto.h"
#include "platform/smtp/ServidorPrueba.h"
#include "platform/ui/MsgBox.h"
#include "reception/VistaRecepcion.h"
#include "ApoyoVentana.h"

#include <gtest/gtest.h>

#include <functional>

namespace pruebas {

class VistaRespuestas : public reception::VistaRecepcion {
public:
    int punteros = 0;
    std::int16_t cancelar = 0;

    QString TextoCuentas() const override { return {}; }
    void SetTextoCuentas(const QString&) override {}
    QString Estado() const override { return {}; }
    void MostrarEstado(const QString&) override {}
    void SetRangoBarra(int, int) override {}
    void SetValorBarra(int) override {}
    int MaximoBarra() const override { return 0; }
    int ValorBarra() const override { return 0; }
    bool Deshabilitado() const override { return false; }
    std::int16_t& CancelarRecepcion() override { return cancelar; }
    QString CarpetaAdjuntos() const override { return {}; }
    void RestablecerPuntero() override { ++punteros; }
};

// Answers each prompt with what the function returns, and keeps them all.
class PromptsPorFuncion : public platform::ui::Respondedor {
public:
    using Funcion = std::function<int(const platform::ui::Pregunta&)>;
    explicit PromptsPorFuncion(Funcion f) : funcion_(std::move(f)) {}
    int Responder(const platform::ui::Pregunta& p) override {
        preguntas.append(p);
        return funcion_(p);
    }
    QList<platform::ui::Pregunta> preguntas;

private:
    Funcion funcion_;
};

// The mail settings row of the program's user.
struct Ajustes {
    QString servidor = QStringLiteral("Otro");
    QString servidorOtro;
    QString usuario = QStringLiteral("ana@empresa.test");
    QString clave = QStringLiteral("secreta");
    QString nombre = QStringLiteral("Ana Pérez");
};

class ConBaseDeNegocio : public ::testing::Test {
protected:
    QTemporaryDir dir;
    VariableEntorno datos{"RECEPCION_DATOS", dir.filePath(QStringLiteral("datos"))};
    PromptsGuionados prompts;
    VistaRespuestas vista;

    void SetUp() override {
        common::ReiniciarContexto();
        common::Contexto().UsuarioLogeado = QStringLiteral("ANA");
        common::Datos().SetBaseDeDatos(QStringLiteral("GESTION"));
        common::Datos().Conectar(false, 3, QString(), true, true);
        ASSERT_TRUE(common::Datos().Conectado());
    }
    void TearDown() override { common::ReiniciarContexto(); }

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
