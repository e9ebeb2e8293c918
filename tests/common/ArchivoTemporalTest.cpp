#include "common/ArchivoTemporal.h"
#include "common/ReportarError.h"
#include "platform/runtime/Entorno.h"
#include "platform/ui/MsgBox.h"
#include "BasePrueba.h"

#include <QDesktopServices>
#include <QFile>
#include <QTextBrowser>
#include <QUrl>

using namespace common;

namespace {

// Receives what the desktop would open. The handler must be a slot taking a
// URL; a text browser's setSource is one, and it reports each URL it is given.
class Escritorio {
public:
    Escritorio() {
        QObject::connect(&navegador_, &QTextBrowser::sourceChanged, [this](const QUrl& u) { abiertas << u; });
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &navegador_, "setSource");
    }
    ~Escritorio() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> abiertas;

private:
    QTextBrowser navegador_;
};

class Temporal : public pruebas::BaseConectada {
protected:
    // Runs one action as a caller does; returns what the path argument holds afterwards.
    QString Accion(std::int16_t accion, const QString& linea, QString extension = QStringLiteral("txt"),
                   QString ruta = QString()) {
        ArchivoTemporal(accion, linea, extension, ruta);
        ultimaExtension = extension;
        return ruta;
    }
    // What a reader of the file finds once the program has yielded.
    static QByteArray Escrito(const QString& ruta) {
        platform::runtime::DoEvents();
        return pruebas::LeerArchivo(ruta);
    }
    QString Nombre(const char* extension) const {
        return EnTemporal(QStringLiteral("recepcion-email/210509") + QString::fromLatin1(extension));
    }
    QString ultimaExtension;
};

}  // namespace

TEST_F(Temporal, NombreConLaHoraYLaExtensionConPunto) {
    const struct {
        QString extension, dada, ruta, extensionDespues;
    } casos[] = {
        {QStringLiteral("txt"), QString(), Nombre(".txt"), QStringLiteral(".txt")},
        {QStringLiteral(".txt"), QString(), Nombre(".txt"), QStringLiteral(".txt")},
        {QStringLiteral("log"), dir.filePath(QStringLiteral("dada.dat")), dir.filePath(QStringLiteral("dada.dat")),
         QStringLiteral(".log")},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(Accion(1, QString(), c.extension, c.dada), c.ruta);
        EXPECT_EQ(ultimaExtension, c.extensionDespues);
        EXPECT_TRUE(QFile::exists(c.ruta));
        Accion(4, QString());
        EXPECT_FALSE(QFile::exists(c.ruta));
    }
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Temporal, FinesDeLinea) {
    const QString ruta = Accion(1, QStringLiteral("uno"));
    Accion(2, QStringLiteral("dos"));
    EXPECT_EQ(Escrito(ruta), QByteArray("uno\r\r\ndos\r\r\n"));

    const QString hoja = Accion(1, QStringLiteral("  "), QStringLiteral("xls"));
    EXPECT_TRUE(Escrito(hoja).isEmpty());  // a blank first line is not written
    Accion(2, QStringLiteral("a\tb"));
    Accion(2, QStringLiteral("ñ"));
    EXPECT_EQ(Escrito(hoja), QByteArray("a\tb\r\n\xc3\xb1\r\n"));
}

TEST_F(Temporal, OtrasAccionesSoloDevuelvenLaRuta) {
    const QString ruta = Accion(1, QStringLiteral("uno"));
    for (std::int16_t accion : {std::int16_t(0), std::int16_t(5), std::int16_t(-1)})
        EXPECT_EQ(Accion(accion, QStringLiteral("no se escribe"), QString(), QStringLiteral("otra")), ruta);
    EXPECT_EQ(pruebas::LeerArchivo(ruta), QByteArray("uno\r\r\n"));
}

TEST_F(Temporal, AbrirCierraYEntregaElArchivoAlEscritorio) {
    Escritorio escritorio;
    const QString ruta = Accion(1, QStringLiteral("uno"));
    EXPECT_EQ(Accion(3, QString()), ruta);
    ASSERT_EQ(escritorio.abiertas.size(), 1);
    EXPECT_EQ(escritorio.abiertas[0].toLocalFile(), ruta);
    // Closed: a later write is dropped quietly.
    Accion(2, QStringLiteral("dos"));
    EXPECT_EQ(pruebas::LeerArchivo(ruta), QByteArray("uno\r\r\n"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Temporal, AbrirArchivoNoVuelveACitarUnaRutaConComillas) {
    Escritorio escritorio;
    const QString ruta = dir.filePath(QStringLiteral("un \"informe\".txt"));
    AbrirArchivo(ruta, false);
    ASSERT_EQ(escritorio.abiertas.size(), 1);
    EXPECT_EQ(escritorio.abiertas[0].toLocalFile(), ruta);
}

TEST_F(Temporal, DosCreacionesEnElMismoSegundo) {
    const QString primera = Accion(1, QStringLiteral("uno"));
    // The name is taken by the open first file: 55 until it gives up, quietly.
    EXPECT_EQ(Accion(1, QStringLiteral("dos")), QString());
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    // The record now holds a number that is not open: writes meet 52 and are dropped.
    Accion(2, QStringLiteral("tres"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    EXPECT_EQ(Escrito(primera), QByteArray("uno\r\r\n"));
}

TEST_F(Temporal, OtrosErroresSePreguntanSinRutina) {
    const QString inalcanzable = dir.filePath(QStringLiteral("falta/traza.txt"));
    const struct {
        QList<int> respuestas;
        int preguntas;
    } casos[] = {{{3}, 1}, {{4, 3}, 2}, {{4, 4, 5}, 3}};
    for (const auto& c : casos) {
        prompts->Limpiar();
        for (int r : c.respuestas) prompts->Encolar(r);
        Accion(1, QString(), QStringLiteral("txt"), inalcanzable);
        ASSERT_EQ(prompts->Preguntas().size(), c.preguntas);
        EXPECT_EQ(prompts->Preguntas()[0].titulo, QStringLiteral(" Aviso al operador!!! "));
        EXPECT_EQ(prompts->Preguntas()[0].texto,
                  QStringLiteral("Ha ocurrido el Siguiente Error (75) Error de acceso a la ruta o al archivo"));
    }
}

// A line a message: the trace is written out when the program yields, asks
// the operator or closes it, not once per line.
TEST_F(Temporal, TrazaCreaYEscribeUnTxt) {
    Traza(1, QStringLiteral("Inicio"));
    Traza(2, QStringLiteral("Paso"));
    EXPECT_TRUE(pruebas::LeerArchivo(Nombre(".txt")).isEmpty());
    platform::runtime::DoEvents();
    EXPECT_EQ(pruebas::LeerArchivo(Nombre(".txt")), QByteArray("Inicio\r\r\nPaso\r\r\n"));
    Traza(2, QStringLiteral("Pregunta"));
    platform::ui::MsgBox(QStringLiteral("¿Seguir?"), platform::ui::Estilo::OKOnly);
    EXPECT_TRUE(pruebas::LeerArchivo(Nombre(".txt")).endsWith("Pregunta\r\r\n"));
    Traza(2, QStringLiteral("Fin"));
    CerrarTraza();
    EXPECT_TRUE(pruebas::LeerArchivo(Nombre(".txt")).endsWith("Fin\r\r\n"));
}

TEST_F(Temporal, LasTrazasDeMasDeSieteDiasSeBorranAlArrancar) {
    const QString carpeta = CarpetaTrazas();
    EXPECT_EQ(carpeta, EnTemporal(QStringLiteral("recepcion-email/")));
    const QDateTime ahora = QDateTime::currentDateTime();
    const struct {
        const char* nombre;
        int dias;
        bool queda;
    } casos[] = {{"vieja.txt", 8, false}, {"justo.txt", 6, true}, {"nueva.txt", 0, true}};
    for (const auto& c : casos) {
        QFile f(carpeta + QString::fromLatin1(c.nombre));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.setFileTime(ahora.addDays(-c.dias), QFileDevice::FileModificationTime);
    }
    // Files outside the folder are not ours to remove.
    QFile ajeno(EnTemporal(QStringLiteral("ajeno.txt")));
    ASSERT_TRUE(ajeno.open(QIODevice::WriteOnly));
    ajeno.setFileTime(ahora.addDays(-30), QFileDevice::FileModificationTime);
    ajeno.close();
    BorrarTrazasViejas(ahora);
    for (const auto& c : casos) EXPECT_EQ(QFile::exists(carpeta + QString::fromLatin1(c.nombre)), c.queda) << c.nombre;
    EXPECT_TRUE(QFile::exists(ajeno.fileName()));
}
