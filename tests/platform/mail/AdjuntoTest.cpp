#include "BuzonPrueba.h"
#include "ErrorEsperado.h"
#include "ApoyoPruebas.h"
#include "platform/gmime/GObjeto.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>


using namespace platform::mail;
using pruebas::BuzonPrueba;
using pruebas::Mensaje;
using pruebas::NumeroDe;

namespace {

QByteArray Mixto(const QByteArray& partes) {
    return Mensaje("From: a@x.test\nSubject: adjuntos\nContent-Type: multipart/mixed; boundary=\"L\"",
                   "--L\nContent-Type: text/plain\n\ncuerpo\n" + partes + "--L--\n");
}

QByteArray ParteConNombre(const QByteArray& disposicion) {
    return "--L\nContent-Type: application/octet-stream\nContent-Transfer-Encoding: base64\n"
           "Content-Disposition: attachment; " + disposicion + "\n\nZGF0b3M=\n";
}

}  // namespace

TEST(AdjuntoMail, ImagenEnLineaConContentId) {
    BuzonPrueba buzon;
    const Elemento e = buzon.Unico(pruebas::Correo(QStringLiteral("imagenes-en-linea-por-content-id.eml")));
    EXPECT_EQ(e.BodyFormat(), 2);
    const Adjuntos adjuntos = e.Attachments();
    ASSERT_EQ(adjuntos.Count(), 3);
    const Adjunto logo = adjuntos.Item(1);
    EXPECT_EQ(logo.Type(), 1);
    EXPECT_EQ(logo.ContentId(), QStringLiteral("image001.png@01D9"));
    EXPECT_EQ(logo.FileName(), QStringLiteral("image001.png"));
    EXPECT_EQ(adjuntos.Item(2).FileName(), QStringLiteral("firma.gif"));
    EXPECT_EQ(adjuntos.Item(3).FileName(), QStringLiteral("foto.jpg"));
    EXPECT_EQ(adjuntos.Item(3).ContentId(), QStringLiteral("foto"));

    QTemporaryDir destino;
    const QString ruta = destino.filePath(logo.FileName());
    logo.SaveAsFile(ruta);
    EXPECT_EQ(pruebas::LeerArchivo(ruta), QByteArray("\x89PNG\r\n", 6));
    EXPECT_EQ(NumeroDe([&] { adjuntos.Item(4); }), 5);
}

TEST(AdjuntoMail, NombresRfc2231YRfc2047) {
    BuzonPrueba buzon;
    const Elemento e = buzon.Unico(Mixto(
        ParteConNombre("filename*=iso-8859-1''Factura%20n%BA%207%20%28a%F1o%29.pdf") +
        ParteConNombre("filename*0*=utf-8''Presupuesto%20; filename*1*=%C3%B3ptimo.xlsx") +
        ParteConNombre("filename=\"=?UTF-8?B?Q2FtacOzbi5qcGc=?=\"") +
        "--L\nContent-Type: application/pdf; name=\"=?ISO-8859-1?Q?Albar=E1n.pdf?=\"\n\nPDF\n"));
    QStringList nombres;
    for (const Adjunto& a : e.Attachments()) nombres << a.FileName();
    EXPECT_EQ(nombres, (QStringList{QStringLiteral("Factura nº 7 (año).pdf"),
                                    QStringLiteral("Presupuesto óptimo.xlsx"),
                                    QStringLiteral("Camión.jpg"), QStringLiteral("Albarán.pdf")}));
    QTemporaryDir destino;
    const QString ruta = destino.filePath(nombres.first());
    e.Attachments().Item(1).SaveAsFile(ruta);
    EXPECT_EQ(pruebas::LeerArchivo(ruta), QByteArray("datos"));
}

TEST(AdjuntoMail, NombresHostilesQuedanDentroDeSuCarpeta) {
    const QString largo = QString(300, u'n') + QStringLiteral(".pdf");
    struct Caso {
        QByteArray disposicion;
        QString esperado;
    };
    const Caso casos[] = {
        {"filename=\"../../x\"", QStringLiteral("x")},
        {"filename=\"/etc/passwd\"", QStringLiteral("passwd")},
        {"filename=\"C:\\\\Windows\\\\win.ini\"", QStringLiteral("win.ini")},
        {"filename=\"...\"", QStringLiteral("adjunto")},
        {"filename=\"..\"", QStringLiteral("adjunto")},
        {"filename=\".bashrc\"", QStringLiteral("bashrc")},
        {"filename=\"a\x01\x1b[31mb\x7f.txt\"", QStringLiteral("a[31mb.txt")},
        {"filename*=utf-8''a%0Ab%09c%0D.txt", QStringLiteral("abc.txt")},
        {"filename*=utf-8''ab%00c.txt", QStringLiteral("ab")},
        {"filename*=utf-8''fdp%E2%80%AEtxt.exe", QStringLiteral("fdptxt.exe")},
        {"filename*=utf-8''mal%FF%FEutf8.doc", QString()},
        {"filename=\"" + largo.toLatin1() + "\"", QString(196, u'n') + QStringLiteral(".pdf")},
        {"filename=\"   \"", QStringLiteral("adjunto.bin")},
    };
    for (const Caso& c : casos) {
        BuzonPrueba buzon;
        const Elemento e = buzon.Unico(Mixto(ParteConNombre(c.disposicion)));
        ASSERT_EQ(e.Attachments().Count(), 1) << c.disposicion.constData();
        const QString nombre = e.Attachments().Item(1).FileName();
        if (!c.esperado.isNull()) {
            EXPECT_EQ(nombre, c.esperado) << c.disposicion.constData();
        }
        EXPECT_FALSE(nombre.isEmpty());
        EXPECT_LE(nombre.size(), 200);
        EXPECT_EQ(QString::fromUtf8(nombre.toUtf8()), nombre);
        for (QChar ch : nombre) EXPECT_FALSE(ch.category() == QChar::Other_Control || ch == u'/' || ch == u'\\');

        QTemporaryDir raiz;
        const QString carpeta = raiz.filePath(QStringLiteral("adjuntos/ID1"));
        QDir().mkpath(carpeta);
        e.Attachments().Item(1).SaveAsFile(carpeta + u'/' + nombre);
        EXPECT_EQ(pruebas::ArchivosBajo(raiz.path()), QStringList{QStringLiteral("adjuntos/ID1/") + nombre});
    }
}

TEST(AdjuntoMail, DosAdjuntosNoCompartenNombre) {
    BuzonPrueba buzon;
    const Elemento e = buzon.Unico(Mixto(ParteConNombre("filename=foto.jpg") +
                                         ParteConNombre("filename=FOTO.jpg") +
                                         ParteConNombre("filename=foto.jpg")));
    QStringList nombres;
    for (const Adjunto& a : e.Attachments()) nombres << a.FileName();
    EXPECT_EQ(nombres, (QStringList{QStringLiteral("foto.jpg"), QStringLiteral("FOTO (2).jpg"),
                                    QStringLiteral("foto (3).jpg")}));
}

// Two names at the length limit: the number must survive the shortening.
TEST(AdjuntoMail, DosNombresLargosIgualesSeNumeran) {
    BuzonPrueba buzon;
    const QByteArray euros = "filename*=UTF-8''" + QByteArray("%E2%82%AC").repeated(65) + ".pdf";
    const Elemento e = buzon.Unico(Mixto(ParteConNombre(euros) + ParteConNombre(euros)));
    QStringList nombres;
    for (const Adjunto& a : e.Attachments()) nombres << a.FileName();
    EXPECT_EQ(nombres, (QStringList{QString(65, QChar(0x20AC)) + QStringLiteral(".pdf"),
                                    QString(64, QChar(0x20AC)) + QStringLiteral(" (2).pdf")}));
}

TEST(AdjuntoMail, MensajeAdjuntoEsTipo5) {
    BuzonPrueba buzon;
    const Elemento e = buzon.Unico(pruebas::Correo(QStringLiteral("mensaje-adjunto-sin-nombre-ni-asunto.eml")));
    const Adjuntos adjuntos = e.Attachments();
    ASSERT_EQ(adjuntos.Count(), 2);
    EXPECT_EQ(adjuntos.Item(1).Type(), 5);
    EXPECT_EQ(adjuntos.Item(1).FileName(), QStringLiteral("Pedido 1_2 ¿confirmado?.eml"));
    EXPECT_EQ(adjuntos.Item(2).FileName(), QStringLiteral("mensaje.eml"));
    EXPECT_EQ(e.Body().trimmed(), QStringLiteral("cuerpo"));  // the inner body is not the item's

    QTemporaryDir destino;
    const QString ruta = destino.filePath(QStringLiteral("m.eml"));
    adjuntos.Item(1).SaveAsFile(ruta);
    const QByteArray guardado = pruebas::LeerArchivo(ruta);
    EXPECT_TRUE(guardado.contains("Subject: =?utf-8?q?Pedido_1/2_=C2=BFconfirmado=3F?="));
    EXPECT_TRUE(guardado.contains("cuerpo interior"));
}

TEST(AdjuntoMail, GuardarDondeNoSePuedeDa75) {
    BuzonPrueba buzon;
    const Elemento e = buzon.Unico(Mixto(ParteConNombre("filename=a.bin")));
    QTemporaryDir destino;
    EXPECT_EQ(NumeroDe([&] { e.Attachments().Item(1).SaveAsFile(destino.filePath(QStringLiteral("no/hay/a.bin"))); }), 75);
    EXPECT_EQ(NumeroDe([&] { e.Attachments().Item(1).SaveAsFile(destino.path()); }), 75);
}

TEST(AdjuntoMail, AnidamientoProfundoNoCuelgaNiRompe) {
    QByteArray cuerpo;
    constexpr int niveles = 5000;
    for (int i = 0; i < niveles; ++i)
        cuerpo += "--b" + QByteArray::number(i) + "\nContent-Type: multipart/mixed; boundary=\"b" +
                  QByteArray::number(i + 1) + "\"\n\n";
    cuerpo += "--b5000\nContent-Type: text/plain; name=hondo.txt\n\nfondo\n";
    for (int i = niveles; i >= 0; --i) cuerpo += "--b" + QByteArray::number(i) + "--\n";
    BuzonPrueba buzon;
    const Elemento e = buzon.Unico(Mensaje("Subject: hondo\nContent-Type: multipart/mixed; boundary=\"b0\"", cuerpo));
    EXPECT_EQ(e.Subject(), QStringLiteral("hondo"));
    EXPECT_GE(e.BodyFormat(), 0);
    for (const Adjunto& a : e.Attachments()) EXPECT_FALSE(a.FileName().isEmpty());
}

namespace {

// GMime's own reading of the first attachment: the part's content decoded
// by its data wrapper, the way any GMime program gets it.
QByteArray DecodificadoPorGMime(const QByteArray& crudo) {
    using platform::gmime::Ref;
    platform::gmime::IniciarGMime();
    Ref<GMimeStream> flujo(g_mime_stream_mem_new_with_buffer(crudo.constData(), size_t(crudo.size())));
    Ref<GMimeParser> analizador(g_mime_parser_new_with_stream(flujo.get()));
    Ref<GMimeMessage> mensaje(g_mime_parser_construct_message(analizador.get(), nullptr));
    if (!mensaje) return {};
    GMimeObject* raiz = g_mime_message_get_mime_part(mensaje.get());
    if (!GMIME_IS_MULTIPART(raiz) || g_mime_multipart_get_count(GMIME_MULTIPART(raiz)) < 2) return {};
    GMimePart* parte = GMIME_PART(g_mime_multipart_get_part(GMIME_MULTIPART(raiz), 1));
    Ref<GMimeStream> salida(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(parte), salida.get());
    GByteArray* datos = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(salida.get()));
    return QByteArray(reinterpret_cast<const char*>(datos->data), qsizetype(datos->len));
}

}  // namespace

// A large attachment whose encoded lines end now in CRLF, now in LF: the
// file holds the decoded part byte for byte.
TEST(AdjuntoMail, GrandeConFinesDeLineaMezcladosSaleExacto) {
    QByteArray datos(50 * 1024 * 1024 + 7, Qt::Uninitialized);
    QRandomGenerator azar(20261211);
    azar.fillRange(reinterpret_cast<quint32*>(datos.data()), datos.size() / 4);
    // The end of the file, where a short write or a lost group would show.
    for (qsizetype i = datos.size() / 4 * 4; i < datos.size(); ++i) datos[i] = char(0xF0 + i % 7);
    QByteArray crudo = "From: a@x.test\r\nSubject: grande\r\nMIME-Version: 1.0\r\n"
                       "Content-Type: multipart/mixed; boundary=\"L\"\r\n\r\n"
                       "--L\r\nContent-Type: text/plain\r\n\r\ncuerpo\r\n"
                       "--L\r\nContent-Type: application/octet-stream\r\nContent-Transfer-Encoding: base64\r\n"
                       "Content-Disposition: attachment; filename=grande.bin\r\n\r\n";
    {
        const QByteArray base64 = datos.toBase64();
        crudo.reserve(crudo.size() + base64.size() * 78 / 76 + 16);
        for (qsizetype i = 0, linea = 0; i < base64.size(); i += 76, ++linea) {
            crudo.append(base64.constData() + i, qMin<qsizetype>(76, base64.size() - i));
            crudo += linea % 3 == 1 ? "\n" : "\r\n";
        }
    }
    crudo += "--L--\n";

    BuzonPrueba buzon;
    const Elemento e = buzon.Unico(crudo);
    ASSERT_EQ(e.Attachments().Count(), 1);
    QTemporaryDir destino;
    const QString ruta = destino.filePath(QStringLiteral("grande.bin"));
    e.Attachments().Item(1).SaveAsFile(ruta);
    const QByteArray guardado = pruebas::LeerArchivo(ruta);
    const QByteArray deGMime = DecodificadoPorGMime(crudo);
    ASSERT_EQ(deGMime.size(), datos.size());
    EXPECT_EQ(guardado.size(), deGMime.size());
    EXPECT_TRUE(guardado == deGMime);
    EXPECT_TRUE(guardado == datos);
}
