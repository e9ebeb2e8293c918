// The public corpus kept next to the repository (../shared/corpus): the test
// makes its own re-timed copy of it and reads that. Without the folder it
// says so and is skipped.
#include "platform/mail/Aplicacion.h"
#include "platform/runtime/ErrorSistema.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <iostream>

using namespace platform::mail;

namespace {

const QString Corpus = QDir::cleanPath(QStringLiteral(RUTA_FUENTES "/../shared/corpus"));

// Re-times a copy of the corpus into the folder, as its README says; the
// copy's store, or the reason it could not be made.
QString CopiaRetemporizada(const QString& carpeta, QString& fallo) {
    const QString copia = carpeta + QStringLiteral("/corpus");
    QProcess p;
    p.start(pruebas::Python(), {Corpus + QStringLiteral("/tools/restamp.py"), QStringLiteral("--copy-to"), copia});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        fallo = QString::fromUtf8(p.readAllStandardError()) + p.errorString();
        return {};
    }
    return copia;
}

// Names, sizes and modification times of every file under a folder.
QByteArray Huella(const QString& carpeta) {
    QStringList lineas;
    QDirIterator it(carpeta, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        lineas << f.filePath() + u' ' + QString::number(f.size()) + u' ' +
                      QString::number(f.lastModified().toMSecsSinceEpoch());
    }
    lineas.sort();
    return QCryptographicHash::hash(lineas.join(u'\n').toUtf8(), QCryptographicHash::Sha256);
}

}  // namespace

TEST(CorpusMail, TodoElCorpusSinRomperNiEscribirFuera) {
    if (!QFile::exists(Corpus + QStringLiteral("/tools/restamp.py")))
        GTEST_SKIP() << "no está el corpus en " << Corpus.toStdString() << ": la prueba no se hace";
    QTemporaryDir copia;
    QString fallo;
    const QString raiz = CopiaRetemporizada(copia.path(), fallo);
    ASSERT_FALSE(raiz.isEmpty()) << "no se pudo copiar el corpus: " << fallo.toStdString();
    const QByteArray antes = Huella(raiz);
    QTemporaryDir destino;
    static const QRegularExpression hex(QStringLiteral("^[0-9A-F]{32}$"));

    const Elementos items = Aplicacion(raiz)
                                .GetNamespace(QStringLiteral("MAPI"))
                                .Folders(QStringLiteral("real-github@corpus.test"))
                                .Folders(QStringLiteral("Bandeja de entrada"))
                                .Items();
    int correo = 0, noCorreo = 0, adjuntos = 0, otrosErrores = 0;
    int formatos[4] = {};
    QSet<QString> ids;
    for (const Elemento& e : items) {
        ids.insert(e.EntryID());
        EXPECT_TRUE(e.ReceivedTime().isValid());
        try {
            const QString texto = e.Subject() + e.SenderName() + e.SenderEmailAddress() + e.To() +
                                  e.CC() + e.Cabecera(QStringLiteral("Auto-Submitted")) +
                                  e.TipoContenido();
            EXPECT_TRUE(hex.match(e.ConversationID()).hasMatch());
            const int formato = e.BodyFormat();
            ASSERT_TRUE(formato >= 0 && formato <= 3);
            ++formatos[formato];
            (void)(texto + e.Body() + e.HTMLBody());
            const QString carpeta = destino.filePath(e.EntryID());
            QDir().mkpath(carpeta);
            for (const Adjunto& a : e.Attachments()) {
                ++adjuntos;
                const QString nombre = a.FileName();
                EXPECT_FALSE(nombre.isEmpty() || nombre.contains(u'/') || nombre.startsWith(u'.'));
                try {
                    a.SaveAsFile(carpeta + u'/' + nombre);
                } catch (const platform::runtime::ErrorSistema& err) {
                    ADD_FAILURE() << e.Ruta().toStdString() << ": " << err.Descripcion.toStdString();
                }
            }
            ++correo;
        } catch (const platform::runtime::ErrorSistema& err) {
            if (err.Numero == 438) ++noCorreo;
            else ++otrosErrores;
        }
    }
    EXPECT_EQ(ids.size(), qsizetype(items.Count()));
    EXPECT_EQ(otrosErrores, 0);
    // Everything saved sits one folder down, in the folder of its item.
    QDirIterator it(destino.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relativa = QDir(destino.path()).relativeFilePath(it.next());
        EXPECT_EQ(relativa.count(u'/'), 1) << relativa.toStdString();
        EXPECT_TRUE(ids.contains(relativa.section(u'/', 0, 0))) << relativa.toStdString();
    }
    EXPECT_EQ(Huella(raiz), antes) << "the store was changed";
    std::cout << "corpus: " << items.Count() << " items, " << correo << " mail, " << noCorreo
              << " not mail, " << adjuntos << " attachments; formats 0/1/2/3: " << formatos[0]
              << '/' << formatos[1] << '/' << formatos[2] << '/' << formatos[3] << std::endl;
}
