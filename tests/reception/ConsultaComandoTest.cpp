// The account look-up of a mail command finds what was written and nothing
// else: wildcards in the value are plain characters, an empty value asks for
// nothing. Run on the embedded database and on a real MariaDB server.
#include "reception/EjecutarAccion.h"
#include "RespuestasPrueba.h"
#include "ServidorMariaDb.h"

using pruebas::ServidorMariaDb;
using namespace reception;

namespace {

enum class Motor { Integrada, MariaDb };

class ConsultaComando : public pruebas::BasePrueba, public ::testing::WithParamInterface<Motor> {
protected:
    pruebas::VistaPrueba vista;
    pruebas::ServidorSmtp smtp{{QStringLiteral("ana@empresa.test"), QStringLiteral("secreta")}};

    void SetUp() override {
        pruebas::BasePrueba::SetUp();
        ASSERT_TRUE(smtp.Listo()) << smtp.Fallo().toStdString();
        common::Contexto().UsuarioLogeado = QStringLiteral("ANA");
        auto& datos = common::Datos();
        if (GetParam() == Motor::Integrada) {
            datos.SetBaseDeDatos(QStringLiteral("GESTION"));
        } else {
            auto& servidor = ServidorMariaDb::Instancia();
            ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
            static int n = 0;
            const QString base = QStringLiteral("comandos%1").arg(++n);
            ASSERT_EQ(servidor.CrearBase(base), QString());
            datos.SetServidor(ServidorMariaDb::Fuente());
            datos.SetBaseDeDatos(base);
            datos.SetUsuario(ServidorMariaDb::Usuario());
            datos.SetPassword(ServidorMariaDb::Password());
        }
        datos.Conectar(false, 3, QString(), true, true);
        ASSERT_TRUE(datos.Conectado());
        Sql(QStringLiteral("INSERT INTO ta_usuarios (Nombre, eMail_Server, email_usuario, email_Password, "
                           "Email_Nombre, email_ServerOtro) VALUES ('ANA', 'Otro', 'ana@empresa.test', "
                           "'secreta', 'Ana', '127.0.0.1:%1')")
                .arg(smtp.Puerto()));
        // The first account is the one a bare wildcard would give away.
        Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C001', 'Almacen Central')"));
        Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C002', 'Ferretería López')"));
        Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C003', '50% Descuentos')"));
        Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C004', 'Hogar_Jardín')"));
        Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C005', '[Oferta] Muebles')"));
        for (const char* codigo : {"C001", "C002", "C003", "C004", "C005"})
            Sql(QStringLiteral("INSERT INTO MA_CUENTASADIC (codigo, TELEFONO, mail) VALUES ('%1', 'tel-%1', 'm-%1')")
                    .arg(QString::fromLatin1(codigo)));
    }
    static void Sql(const QString& s) {
        common::Datos().EjecutarSQL(s);
        ASSERT_EQ(common::Datos().Conexion().Errors().Count(), 0) << s.toStdString();
    }

    // The replies that reached the server for one message.
    QStringList Respuestas(const QString& mensaje) {
        const auto antes = smtp.Recibidos().size();
        EjecutarAccion(vista, QStringLiteral("cliente@x.test"), mensaje);
        QStringList cuerpos;
        const auto recibidos = smtp.Recibidos();
        for (auto i = antes; i < recibidos.size(); ++i)
            cuerpos << recibidos[i].sobre[u"cuerpo"].toString().trimmed();
        return cuerpos;
    }
};

}  // namespace

TEST_P(ConsultaComando, ElValorSeBuscaTalComoSeEscribio) {
    struct Caso {
        QString mensaje;
        QString respuesta;  // empty: nothing is sent
    };
    const Caso casos[] = {
        // Wildcards find the accounts that hold them, never the first one.
        {QStringLiteral("#TELEFONO:%#"), QStringLiteral("Telefono de 50% Descuentos : tel-C003")},
        {QStringLiteral("#TELEFONO:_#"), QStringLiteral("Telefono de Hogar_Jardín : tel-C004")},
        {QStringLiteral("#TELEFONO:[#"), QStringLiteral("Telefono de [Oferta] Muebles : tel-C005")},
        {QStringLiteral("#MAIL:0% d#"), QStringLiteral("Mail de 50% Descuentos : m-C003")},
        {QStringLiteral("#TELEFONO:A_macen#"), {}},
        {QStringLiteral("#TELEFONO:Alm%Central#"), {}},
        {QStringLiteral("#TELEFONO:[A]lmacen#"), {}},
        {QStringLiteral("#TELEFONO:[^x]lmacen#"), {}},
        // No value: no command.
        {QStringLiteral("#TELEFONO:#"), {}},
        {QStringLiteral("#TELEFONO:    #"), {}},
        {QStringLiteral("#MAIL:\t #"), {}},
        {QStringLiteral("#MAIL:\u00a0#"), {}},
        // A real value is still a substring, without case or accents.
        {QStringLiteral("#TELEFONO:ferreteria lopez#"), QStringLiteral("Telefono de Ferretería López : tel-C002")},
        {QStringLiteral("#MAIL:ALMACÉN#"), QStringLiteral("Mail de Almacen Central : m-C001")},
        {QStringLiteral("#telefono:jardin#"), QStringLiteral("Telefono de Hogar_Jardín : tel-C004")},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensaje.toStdString());
        QStringList respuestas;
        EXPECT_NO_THROW(respuestas = Respuestas(c.mensaje));
        EXPECT_EQ(respuestas, c.respuesta.isNull() ? QStringList() : QStringList{c.respuesta});
    }
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motores, ConsultaComando, ::testing::Values(Motor::Integrada, Motor::MariaDb),
                         [](const auto& info) {
                             return info.param == Motor::Integrada ? std::string("Integrada")
                                                                   : std::string("MariaDb");
                         });
