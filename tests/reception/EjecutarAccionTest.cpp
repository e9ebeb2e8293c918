#include "reception/EjecutarAccion.h"
#include "RespuestasPrueba.h"

#include <QJsonArray>

using namespace reception;

namespace {

const QString Cliente = QStringLiteral("cliente@x.test");

// The parser ends the text with a line break; a trailing blank is the body's own.
QString SinFinDeLinea(QString texto) {
    while (texto.endsWith(QLatin1Char('\n')) || texto.endsWith(QLatin1Char('\r'))) texto.chop(1);
    return texto;
}

class Comandos : public pruebas::ConBaseDeNegocio {
protected:
    pruebas::ServidorSmtp servidor{{QStringLiteral("ana@empresa.test"), QStringLiteral("secreta")}};

    void SetUp() override {
        pruebas::ConBaseDeNegocio::SetUp();
        ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
        GuardarAjustes({.servidorOtro = En(servidor.Puerto())});
        Sql(QStringLiteral(
            "INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C001', 'Almacen Central'), "
            "('C002', 'Ferretería López'), ('C003', 'O''Brien Hnos'), ('C004', 'Proveedor gmail.com'), "
            "('C005', 'Tienda sin telefono')"));
        Sql(QStringLiteral(
            "INSERT INTO MA_CUENTASADIC (codigo, TELEFONO, mail) VALUES "
            "('C001', '912345678', 'almacen@cliente.test'), ('C002', '934444444', 'lopez@cliente.test'), "
            "('C003', '915550000', 'obrien@cliente.test'), ('C004', '900000004', 'prov@gmail.com'), "
            "('C005', NULL, 'tienda@cliente.test')"));
    }

    // The bodies of the replies that reached the server from now on.
    QStringList Respuestas(const QString& mensaje) {
        const auto antes = servidor.Recibidos().size();
        EjecutarAccion(vista, Cliente, mensaje);
        QStringList cuerpos;
        const auto recibidos = servidor.Recibidos();
        for (auto i = antes; i < recibidos.size(); ++i)
            cuerpos << SinFinDeLinea(recibidos[i].sobre[u"cuerpo"].toString());
        return cuerpos;
    }
};

}  // namespace

TEST_F(Comandos, TelefonoEnMinusculasRespondeAlRemitente) {
    EjecutarAccion(vista, Cliente, QStringLiteral("Buenos días\r\n#telefono:almacen#\r\nGracias"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    const auto recibidos = servidor.Recibidos();
    ASSERT_EQ(recibidos.size(), 1);
    const QJsonObject m = recibidos[0].sobre;
    EXPECT_EQ(m[u"rcpt_tos"].toArray(), QJsonArray{Cliente});
    EXPECT_EQ(m[u"to"].toString(), Cliente);
    EXPECT_EQ(m[u"mail_from"].toString(), QStringLiteral("ana@empresa.test"));
    EXPECT_EQ(m[u"from_nombre"].toString(), QStringLiteral("Ana Pérez"));
    EXPECT_EQ(m[u"subject"].toString(), QStringLiteral("RESPUESTA AUTOMATICA"));
    EXPECT_EQ(m[u"auto_submitted"].toString(), QStringLiteral("auto-replied"));
    EXPECT_EQ(SinFinDeLinea(m[u"cuerpo"].toString()), QStringLiteral("Telefono de Almacen Central : 912345678"));
}

TEST_F(Comandos, CadaComandoDaSuRespuestaONinguna) {
    struct Caso {
        QString mensaje;
        QString respuesta;  // empty: nothing is sent
    };
    const Caso casos[] = {
        {QStringLiteral("#MAIL:Almacen#"), QStringLiteral("Mail de Almacen Central : almacen@cliente.test")},
        {QStringLiteral("#CUENTACORRIENTE:Almacen#"), {}},
        {QStringLiteral("#x#"), {}},  // no keyword: asks for nothing
        {QStringLiteral("Escriba a #gmail.com# hoy"), QStringLiteral("Mail de Proveedor gmail.com : prov@gmail.com")},
        {QStringLiteral("#TELEFONO:C002#"), QStringLiteral("Telefono de  : 934444444")},
        {QStringLiteral("#TELEFONO Almacen#"), {}},
        {QStringLiteral("#TELEFONO:Tienda#"), QStringLiteral("Telefono de Tienda sin telefono : ")},
        {QStringLiteral("#TELEFONO:Almacen# y luego #MAIL:Almacen#"),
         QStringLiteral("Telefono de Almacen Central : 912345678")},
        {QStringLiteral("<p style=\"color:#ff0000\">#TELEFONO:Almacen#</p>"), {}},
        {QStringLiteral("#TELEFONO:Ferreteria#"), QStringLiteral("Telefono de Ferretería López : 934444444")},
        // Not commands at all.
        {QStringLiteral("pedido #123 urgente"), {}},
        {QStringLiteral("#solo al principio"), {}},
        {QStringLiteral("##"), {}},
        {QStringLiteral("sin almohadillas"), {}},
        // Apostrophes and wildcards stay inside the statements' literals.
        {QStringLiteral("#telefono: o'brien #"), QStringLiteral("Telefono de O'Brien Hnos : 915550000")},
        {QStringLiteral("#TELEFONO:Alm%Cen#"), {}},
        {QStringLiteral("#TELEFONO:x' OR '1'='1#"), {}},
        {QStringLiteral("#MAIL:'; DELETE FROM MA_CUENTAS; --#"), {}},
        {QStringLiteral("#MAIL:C001'; DELETE FROM MA_CUENTASADIC; --#"), {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.mensaje.toStdString());
        QStringList respuestas;
        EXPECT_NO_THROW(respuestas = Respuestas(c.mensaje));
        EXPECT_EQ(respuestas, c.respuesta.isNull() ? QStringList() : QStringList{c.respuesta});
        // The import marks a message only when it may be answered: never one short.
        if (!c.respuesta.isNull()) {
            EXPECT_TRUE(PideRespuesta(c.mensaje));
        }
    }
    // Nor marks those that ask nothing: each mark is a write to the state file.
    for (const char* nada : {"#CUENTACORRIENTE:Almacen#", "#x#", "#TELEFONO:#", "#MAIL:   #", "pedido #123 urgente",
                             "<p style=\"color:#ff0000\">hola</p><p style=\"color:#00ff00\">", "sin almohadillas"})
        EXPECT_FALSE(PideRespuesta(QString::fromUtf8(nada))) << nada;
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    EXPECT_EQ(Respuestas(QStringLiteral("#TELEFONO:Almacen#")),
              QStringList{QStringLiteral("Telefono de Almacen Central : 912345678")});
    EXPECT_EQ(Respuestas(QStringLiteral("#MAIL:O'Brien#")),
              QStringList{QStringLiteral("Mail de O'Brien Hnos : obrien@cliente.test")});
}

TEST_F(Comandos, UnFalloDeLaConsultaLlegaAlLlamador) {
    Sql(QStringLiteral("DROP TABLE MA_CUENTASADIC"));
    EXPECT_THROW(EjecutarAccion(vista, Cliente, QStringLiteral("#TELEFONO:Almacen#")),
                 platform::runtime::ErrorSistema);
    EXPECT_TRUE(servidor.Recibidos().isEmpty());
}

// A sender that is no mailbox gets no reply and no prompt: one line in the log.
TEST_F(Comandos, RemitenteQueNoEsUnaDireccionNoSeResponde) {
    const QString remitentes[] = {QString(), QStringLiteral("   "), QStringLiteral("Juan Pérez"),
                                  QStringLiteral("juan@"), QStringLiteral("@x.test"), QStringLiteral("a@b@x.test"),
                                  QStringLiteral("a@x.test, b@x.test"), QStringLiteral("<>")};
    const QString log = EnTemporal(QStringLiteral("CVERR.LOG"));
    for (const QString& remitente : remitentes) {
        SCOPED_TRACE(remitente.toStdString());
        QFile::remove(log);
        EXPECT_NO_THROW(EjecutarAccion(vista, remitente, QStringLiteral("#TELEFONO:Almacen#")));
        const QStringList lineas =
            QString::fromUtf8(pruebas::LeerArchivo(log)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(lineas.size(), 1);
        EXPECT_TRUE(lineas[0].contains(QStringLiteral("Rutina: EjecutarAccion"))) << lineas[0].toStdString();
        EXPECT_TRUE(lineas[0].contains(QStringLiteral("no es una dirección de correo"))) << lineas[0].toStdString();
    }
    EXPECT_TRUE(servidor.Recibidos().isEmpty());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    // Nothing to answer: nothing logged either.
    QFile::remove(log);
    EjecutarAccion(vista, QString(), QStringLiteral("sin comandos"));
    EXPECT_FALSE(QFile::exists(log));
}
