#include "ApoyoPruebas.h"
#include "BuzonPrueba.h"
#include "ErrorEsperado.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace platform::mail;
using pruebas::BuzonPrueba;
using pruebas::Mensaje;
using pruebas::NumeroDe;

TEST(ElementoMail, CabecerasCodificadasEnEspanol) {
    struct Caso {
        QByteArray cabeceras;
        QString asunto, nombre, direccion, para, cc;
    };
    const Caso casos[] = {
        {"From: =?ISO-8859-1?Q?Jos=E9_Mu=F1oz?= <jose@empresa.test>\n"
         "To: =?iso-8859-1?q?Ana_Pe=F1a?= <ana@x.test>, luis@x.test\n"
         "Cc: Grupo: =?UTF-8?B?TcOzbmljYQ==?= <m@x.test>;\n"
         "Subject: =?ISO-8859-1?Q?Informaci=F3n_del_pedido_n=BA_12?=",
         QStringLiteral("Información del pedido nº 12"), QStringLiteral("José Muñoz"),
         QStringLiteral("jose@empresa.test"), QStringLiteral("Ana Peña; luis@x.test"),
         QStringLiteral("Mónica")},
        {"From: compras@empresa.test\n"
         "To: \"Pérez, Ramón\" <r@x.test>\n"
         "Subject: =?UTF-8?B?wr9RdcOpIHRhbCBlbCBhw7FvPw==?=\n =?UTF-8?Q?_Se=C3=B1or?=",
         QStringLiteral("¿Qué tal el año? Señor"), QStringLiteral("compras@empresa.test"),
         QStringLiteral("compras@empresa.test"), QStringLiteral("Pérez, Ramón"), QString()},
        // Raw 8-bit headers: UTF-8 when valid, else windows-1252.
        {"From: Begoña <b@x.test>\nSubject: Canci\xf3n\x01 con control",
         QStringLiteral("Canción  con control"), QStringLiteral("Begoña"),
         QStringLiteral("b@x.test"), QString(), QString()},
    };
    for (const Caso& c : casos) {
        BuzonPrueba buzon;
        const Elemento e = buzon.Unico(Mensaje(c.cabeceras));
        EXPECT_EQ(e.Subject(), c.asunto);
        EXPECT_EQ(e.SenderName(), c.nombre);
        EXPECT_EQ(e.SenderEmailAddress(), c.direccion);
        EXPECT_EQ(e.To(), c.para);
        EXPECT_EQ(e.CC(), c.cc);
    }
}

TEST(ElementoMail, CabeceraYTipoDeContenido) {
    BuzonPrueba buzon;
    const Elemento e = buzon.Unico(pruebas::Correo(QStringLiteral("aviso-de-no-entrega-es-correo-automatico.eml")));
    EXPECT_EQ(e.Cabecera(QStringLiteral("auto-submitted")), QStringLiteral("auto-replied"));
    EXPECT_EQ(e.Cabecera(QStringLiteral("List-Id")), QStringLiteral("<ventas.x.test>"));
    EXPECT_EQ(e.Cabecera(QStringLiteral("X-Nota")), QStringLiteral("mañana"));
    EXPECT_EQ(e.Cabecera(QStringLiteral("Precedence")), QString());
    EXPECT_EQ(e.TipoContenido(), QStringLiteral("multipart/report"));
    EXPECT_EQ(buzon.Unico(Mensaje("Subject: sin tipo")).TipoContenido(), QStringLiteral("text/plain"));
}

TEST(ElementoMail, CuerposEnSuJuegoDeCaracteres) {
    struct Caso {
        QByteArray tipo, codificacion, cuerpo;
    };
    const QString esperado = QStringLiteral("Añadir acción: 5 €");
    const Caso casos[] = {
        {"text/plain; charset=ISO-8859-1", "8bit", "A\xf1" "adir acci\xf3n: 5 \x80"},
        {"text/plain; charset=windows-1252", "quoted-printable", "A=F1adir acci=F3n: 5 =80"},
        {"text/plain; charset=\"utf-8\"", "base64", "QcOxYWRpciBhY2Npw7NuOiA1IOKCrA=="},
        {"text/plain; charset=iso-8859-15", "8bit", "A\xf1" "adir acci\xf3n: 5 \xa4"},
        {"text/plain", "8bit", "A\xf1" "adir acci\xf3n: 5 \x80"},
        {"text/plain; charset=utf-8", "8bit", "A\xf1" "adir acci\xf3n: 5 \x80"},
        {"text/plain; charset=x-inventado", "8bit", "A\xc3\xb1" "adir acci\xc3\xb3n: 5 \xe2\x82\xac"},
        // No subtype is text/plain, and its charset still counts.
        {"Text ; charset=iso-8859-15", "8bit", "A\xf1" "adir acci\xf3n: 5 \xa4"},
    };
    for (const Caso& c : casos) {
        BuzonPrueba buzon;
        const Elemento e = buzon.Unico(
            Mensaje("Subject: x\nContent-Type: " + c.tipo + "\nContent-Transfer-Encoding: " + c.codificacion,
                    c.cuerpo));
        EXPECT_EQ(e.BodyFormat(), 1) << c.tipo.constData();
        EXPECT_EQ(e.Body().trimmed(), esperado) << c.tipo.constData();
        EXPECT_EQ(e.HTMLBody(), QString());
    }
}

TEST(ElementoMail, FormatoDelCuerpo) {
    struct Caso {
        QByteArray tipo, cuerpo;
        int formato;
    };
    const Caso casos[] = {
        {"text/plain", "texto", 1},
        {"text", "texto", 1},
        // Boundary lines ended by a bare CR, as old Mac mailers wrote them.
        {"multipart/mixed; boundary=x", "--x\rContent-Type: text/plain\r\rplano\r--x--\r", 1},
        {"text/html; charset=utf-8", "<p>Hola <b>se\xc3\xb1or</b></p>", 2},
        {"multipart/alternative; boundary=x",
         "--x\nContent-Type: text/plain\n\nplano\n--x\nContent-Type: text/html\n\n<p>html</p>\n--x--\n", 2},
        {"text/enriched", "<bold>rico</bold>", 3},
        {"multipart/mixed; boundary=x",
         "--x\nContent-Type: application/ms-tnef; name=winmail.dat\n\nTNEF\n--x--\n", 3},
        {"application/pdf; name=factura.pdf", "%PDF", 0},
        {"multipart/mixed; boundary=x",
         "--x\nContent-Type: text/plain\nContent-Disposition: attachment; filename=a.txt\n\nadjunto\n--x--\n", 0},
    };
    for (const Caso& c : casos) {
        BuzonPrueba buzon;
        const Elemento e = buzon.Unico(Mensaje("Subject: x\nContent-Type: " + c.tipo, c.cuerpo));
        EXPECT_EQ(e.BodyFormat(), c.formato) << c.tipo.constData();
    }
    BuzonPrueba buzon;
    const Elemento html = buzon.Unico(Mensaje(
        "Content-Type: text/html; charset=utf-8",
        "<html><head><style>p{}</style></head><body><p>Hola&nbsp;<b>se\xc3\xb1or</b></p>"
        "<p>Pedido &#8470; 7 &amp; m&aacute;s &bogus;</p></body></html>"));
    EXPECT_TRUE(html.HTMLBody().contains(QStringLiteral("<b>señor</b>")));
    EXPECT_EQ(html.Body(), QStringLiteral("Hola señor\n\nPedido № 7 & más &bogus;"));
}

TEST(ElementoMail, LoQueNoEsCorreoDa438SalvoIdYFecha) {
    static const char binario[] = "\x00\x01\x02\xff\xfe binario\n\n\x00zz";
    const QByteArray basura[] = {
        "",
        "esto no es un correo\nni tiene cabeceras\n",
        "\nSubject: cabeceras tras una l\xc3\xadnea en blanco\n\ncuerpo\n",
        QByteArray(binario, sizeof binario - 1),
    };
    for (const QByteArray& contenido : basura) {
        BuzonPrueba buzon;
        const Elemento e = buzon.Unico(contenido);
        EXPECT_EQ(e.EntryID(), QStringLiteral("1700000000.M1P1.prueba"));
        EXPECT_TRUE(e.ReceivedTime().isValid());
        const std::function<void()> propiedades[] = {
            [&] { e.Subject(); },      [&] { e.SenderName(); },     [&] { e.SenderEmailAddress(); },
            [&] { e.To(); },           [&] { e.CC(); },             [&] { e.ConversationID(); },
            [&] { e.BodyFormat(); },   [&] { e.Body(); },           [&] { e.HTMLBody(); },
            [&] { e.Attachments(); },  [&] { e.Cabecera(QStringLiteral("From")); },
            [&] { e.TipoContenido(); },
        };
        for (const auto& leer : propiedades) EXPECT_EQ(NumeroDe(leer), 438) << contenido.toHex().constData();
    }
}

TEST(ElementoMail, ConversacionIgualParaUnaRespuestaYSuOriginal) {
    BuzonPrueba buzon;
    buzon.Escribir("1700000001.A.h", Mensaje("Message-ID: <Raiz.1@Empresa.test>\nSubject: pedido"));
    buzon.Escribir("1700000002.B.h", Mensaje("Message-ID: <r1@x.test>\nIn-Reply-To: <raiz.1@empresa.test>\nSubject: Re: pedido"));
    buzon.Escribir("1700000003.C.h", Mensaje("Message-ID: <r2@x.test>\nReferences: < Raiz.1@empresa.test > <r1@x.test>\n"
                                              "In-Reply-To: <r1@x.test>\nSubject: Re: Re: pedido"));
    buzon.Escribir("1700000004.D.h", Mensaje("Message-ID: <otro@x.test>\nSubject: otro asunto"));
    // Outlook threads: the GUID inside Thread-Index, whatever the references say.
    const QByteArray guid = QByteArray::fromHex("0102030405060708090A0B0C0D0E0F10");
    const QByteArray indice = (QByteArray::fromHex("01D9A1B2C3D4") + guid + QByteArray(5, 'x')).toBase64();
    buzon.Escribir("1700000005.E.h", Mensaje("Thread-Index: " + indice + "\nReferences: <raiz.1@empresa.test>"));
    buzon.Escribir("1700000006.F.h", Mensaje("Subject: sin identificadores"));
    buzon.Escribir("1700000007.G.h", Mensaje("Subject: sin identificadores"));

    const Elementos items = buzon.Items();
    QStringList ids;
    for (const Elemento& e : items) ids << e.ConversationID();
    static const QRegularExpression forma(QStringLiteral("^[0-9A-F]{32}$"));
    for (const QString& id : ids) EXPECT_TRUE(forma.match(id).hasMatch()) << id.toStdString();
    EXPECT_EQ(ids[1], ids[0]);
    EXPECT_EQ(ids[2], ids[0]);
    EXPECT_NE(ids[3], ids[0]);
    EXPECT_EQ(ids[4], QStringLiteral("0102030405060708090A0B0C0D0E0F10"));
    EXPECT_NE(ids[5], ids[6]);  // told apart by their files
    EXPECT_EQ(items.Item(6).ConversationID(), ids[5]);
}
