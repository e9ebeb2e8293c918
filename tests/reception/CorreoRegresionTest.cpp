// The regression mail set (tests/data/correo), each message imported alone
// into an empty table against a real SMTP server: whether it is stored, its
// STATUS, the attachments saved, and the reply its command gets.
#include "reception/LeerOutlook.h"
#include "common/Configuracion.h"
#include "platform/db/Recordset.h"
#include "BuzonPrueba.h"
#include "RespuestasPrueba.h"

#include <QSet>

using namespace reception;

namespace {

struct Esperado {
    const char* archivo;
    bool guardado;                // a row in V_MA_EMAILMOV, else passed over
    const char* status;           // STATUS of the row
    QStringList adjuntos;         // files saved in the message's folder, sorted
    const char* respuesta;        // a text of the one reply sent; nullptr: none
};

const Esperado Tabla[] = {
    {"adjuntos-con-el-mismo-nombre-y-un-nombre-largo.eml", true, "TXT",
     {QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWX.finalpdf"),
      QStringLiteral("factura (2).pdf"), QStringLiteral("factura.pdf")},
     nullptr},
    {"almohadilla-suelta-no-es-comando.eml", true, "TXT", {}, nullptr},
    {"aviso-de-no-entrega-es-correo-automatico.eml", true, "TXT", {}, nullptr},
    {"comando-en-minusculas-se-responde.eml", true, "TXT", {}, "912345678"},
    {"imagenes-en-linea-por-content-id.eml", true, "HTML",
     {QStringLiteral("firma.gif"), QStringLiteral("foto.jpg"), QStringLiteral("image001.png")}, nullptr},
    {"mensaje-adjunto-sin-nombre-ni-asunto.eml", true, "TXT",
     {QStringLiteral("Pedido 1_2 ¿confirmado?.eml"), QStringLiteral("mensaje.eml")}, nullptr},
    {"multiparte-con-fin-de-linea-cr-suelto-se-lee.eml", true, "TXT", {QStringLiteral("logo.gif")}, "912345678"},
    {"no-es-correo-bytes-sin-cabeceras.eml", false, "", {}, nullptr},
    {"nombres-de-adjunto-hostiles-salen-de-su-carpeta.eml", true, "TXT",
     {QStringLiteral("ab.txt"), QStringLiteral("adjunto"), QStringLiteral("adjunto.bin"),
      QString(50, u'n') + QStringLiteral(".txt"), QStringLiteral("passwd"), QStringLiteral("x")},
     nullptr},
    {"respuesta-automatica-con-comando-no-se-responde.eml", true, "TXT", {}, nullptr},
    {"texto-enriquecido-con-comando-se-guarda-sin-cuerpo.eml", true, "RTF", {}, nullptr},
    {"tipo-text-sin-subtipo-es-texto-plano.eml", true, "TXT", {}, "912345678"},
};

class Regresion : public pruebas::ConBaseDeNegocio {
protected:
    pruebas::VariableEntorno correo{"RECEPCION_CORREO", dir.filePath(QStringLiteral("correo"))};
    pruebas::ServidorSmtp servidor{{QStringLiteral("ana@empresa.test"), QStringLiteral("secreta")}};

    void SetUp() override {
        pruebas::ConBaseDeNegocio::SetUp();
        ASSERT_TRUE(servidor.Listo()) << servidor.Fallo().toStdString();
        common::TablaConfiguracion() = QStringLiteral("TA_CONFIGURACION");
        GuardarAjustes({.servidorOtro = En(servidor.Puerto())});
        Sql(QStringLiteral("INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C001', 'Almacen Central')"));
        Sql(QStringLiteral("INSERT INTO MA_CUENTASADIC (codigo, TELEFONO) VALUES ('C001', '912345678')"));
        vista.adjuntos = dir.filePath(QStringLiteral("adjuntos"));
        QDir().mkpath(vista.adjuntos);
    }

    static QList<QMap<QString, QString>> Filas() {
        QList<QMap<QString, QString>> filas;
        platform::db::Recordset rs;
        common::Datos().AbrirRecordset(QStringLiteral("SELECT UIDL, STATUS FROM V_MA_EMAILMOV"), rs);
        for (; !rs.Eof(); rs.MoveNext())
            filas.append({{QStringLiteral("UIDL"), rs.Fields(QStringLiteral("UIDL")).Value().toString()},
                          {QStringLiteral("STATUS"), rs.Fields(QStringLiteral("STATUS")).Value().toString()}});
        return filas;
    }
};

}  // namespace

TEST_F(Regresion, CadaCorreoDelJuegoComoSeEspera) {
    // Every file has its row in the table, and every row its file.
    QSet<QString> enTabla, enCarpeta;
    for (const Esperado& e : Tabla) enTabla.insert(QString::fromUtf8(e.archivo));
    for (const QString& f : QDir(pruebas::CarpetaCorreo()).entryList({QStringLiteral("*.eml")}, QDir::Files))
        enCarpeta.insert(f);
    ASSERT_EQ(enCarpeta, enTabla);

    int caso = 0;
    for (const Esperado& e : Tabla) {
        SCOPED_TRACE(e.archivo);
        Sql(QStringLiteral("DELETE FROM V_MA_EMAILMOV"));
        // An account of its own for each message, so each is alone in its inbox.
        const QString cuenta = QStringLiteral("caso%1@demo.test").arg(++caso);
        pruebas::BuzonPrueba buzon(dir.filePath(QStringLiteral("correo")), cuenta);
        buzon.Agregar(pruebas::Correo(QString::fromUtf8(e.archivo)), pruebas::MomentoFijo().addSecs(-60),
                      QStringLiteral("caso%1").arg(caso));
        vista.cuentas = cuenta;
        const auto enviadosAntes = servidor.Recibidos().size();
        QString fd, fh;
        LeerOutlook(vista, cuenta, fd, fh);

        const auto filas = Filas();
        for (const auto& p : prompts->Preguntas()) ADD_FAILURE() << "aviso: " << p.texto.toStdString();
        prompts->Limpiar();
        ASSERT_EQ(filas.size(), e.guardado ? 1 : 0);
        const auto enviados = servidor.Recibidos().mid(enviadosAntes);
        if (e.respuesta) {
            ASSERT_EQ(enviados.size(), 1);
            EXPECT_TRUE(enviados[0].crudo.contains(e.respuesta)) << enviados[0].crudo.toStdString();
        } else {
            EXPECT_TRUE(enviados.isEmpty());
        }
        if (!e.guardado) continue;
        EXPECT_EQ(filas[0][QStringLiteral("STATUS")], QString::fromUtf8(e.status));
        EXPECT_EQ(pruebas::ArchivosBajo(vista.adjuntos + QLatin1Char('/') + filas[0][QStringLiteral("UIDL")]), e.adjuntos);
    }
}
