#include "BuzonPrueba.h"
#include "ErrorEsperado.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

using namespace platform::mail;
using pruebas::BuzonPrueba;
using pruebas::Mensaje;
using pruebas::NumeroDe;

namespace {

QByteArray ConAsunto(const QByteArray& asunto) {
    return Mensaje("From: a@b.test\nSubject: " + asunto);
}

QStringList Asuntos(const Elementos& items) {
    QStringList asuntos;
    for (const Elemento& e : items) asuntos << e.Subject();
    return asuntos;
}

}  // namespace

TEST(ElementosMail, CurYNewEnOrdenDeNombreUnicoNuncaTmp) {
    BuzonPrueba buzon;
    buzon.Escribir("1700000300.M3P1.host", ConAsunto("tercero"), "new");
    buzon.Escribir("1700000100.M1P1.host:2,RS", ConAsunto("primero"), "cur");
    buzon.Escribir("1700000200.M2P1.host:2,", ConAsunto("segundo"), "cur");
    buzon.Escribir("1700000150.M9P1.host", ConAsunto("a medio entregar"), "tmp");
    buzon.Escribir(".oculto", ConAsunto("oculto"), "cur");
    QDir().mkpath(buzon.Bandeja() + QStringLiteral("/cur/subcarpeta"));

    const Elementos items = buzon.Items();
    ASSERT_EQ(items.Count(), 3);
    EXPECT_EQ(Asuntos(items), (QStringList{QStringLiteral("primero"), QStringLiteral("segundo"),
                                           QStringLiteral("tercero")}));
    EXPECT_EQ(items.Item(3).Subject(), QStringLiteral("tercero"));
    EXPECT_EQ(NumeroDe([&] { items.Item(0); }), 5);
    EXPECT_EQ(NumeroDe([&] { items.Item(4); }), 5);
}

TEST(ElementosMail, EntryIDNoCambiaAlMoverseNiAlMarcarse) {
    BuzonPrueba buzon;
    const QString nuevo = buzon.Escribir("1700000100.M1P1.host", ConAsunto("movido"), "new");
    const Elemento antes = buzon.Items().Item(1);
    const QString id = antes.EntryID();
    EXPECT_EQ(id, QStringLiteral("1700000100.M1P1.host"));

    // A mail client reads it: new/ to cur/ with the seen flag, then replied.
    const QString leido = buzon.Bandeja() + QStringLiteral("/cur/1700000100.M1P1.host:2,S");
    ASSERT_TRUE(QFile::rename(nuevo, leido));
    EXPECT_EQ(buzon.Items().Item(1).EntryID(), id);
    // The item listed before the move still finds its file.
    EXPECT_EQ(antes.Subject(), QStringLiteral("movido"));
    ASSERT_TRUE(QFile::rename(leido, leido + u'R'));
    EXPECT_EQ(buzon.Items().Item(1).EntryID(), id);
    EXPECT_EQ(buzon.Items().Item(1).ReceivedTime(), antes.ReceivedTime());
}

TEST(ElementosMail, EntryIDSeguroYUnicoConNombresRaros) {
    const QByteArray nombres[] = {
        "1700000001.M1P1.host'; DROP TABLE x;--",
        "1700000001.M1P1.host_; DROP TABLE x;--",
        "1700000002.M2P1.mi equipo",
        "1700000003.M3P1.equipo\x01\x7f",
        "1700000004.M4P1.se\xc3\xb1or",
        "1700000005.M5P1.\xff\xfe",
        "1700000006.M6P1.host,S=1234,W=1260",
        "1700000007.M7P1." + QByteArray(230, 'x'),
        "1700000007.M7P1." + QByteArray(229, 'x'),
        "1700000008.M8P1.a\\b",
    };
    BuzonPrueba buzon;
    for (const QByteArray& n : nombres) buzon.Escribir(n + ":2,S", ConAsunto("x"));
    const Elementos items = buzon.Items();
    ASSERT_EQ(items.Count(), int(std::size(nombres)));
    static const QRegularExpression seguro(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9._,=+-]{0,99}$"));
    QSet<QString> vistos;
    for (const Elemento& e : items) {
        const QString id = e.EntryID();
        EXPECT_TRUE(seguro.match(id).hasMatch()) << id.toStdString();
        EXPECT_NE(id, QStringLiteral(".."));
        vistos.insert(id);
        EXPECT_EQ(id, buzon.Items().Item(int(vistos.size())).EntryID()) << "no determinista";
    }
    EXPECT_EQ(vistos.size(), qsizetype(std::size(nombres)));
    // A name that is already safe is kept as it is.
    EXPECT_TRUE(vistos.contains(QStringLiteral("1700000006.M6P1.host")));
}

// Synchronisers keep the arrival time as the file's modification time; the
// number in the name is when the file was written here, and the fields they
// add to the name (",U=", ",S=", ",W=") are not part of the entry.
TEST(ElementosMail, RecibidoEsLaFechaDelArchivoYEntryIDSinCampos) {
    const QDateTime mtime = QDateTime::fromSecsSinceEpoch(1650000000);
    struct Caso {
        QByteArray nombre;
        const char* sub;
        QString id;
    };
    const Caso casos[] = {
        {"1700000000.M1P1.host:2,S", "cur", QStringLiteral("1700000000.M1P1.host")},
        {"1700000000:2,S", "cur", QStringLiteral("1700000000")},
        {"entregado-sin-hora:2,S", "cur", QStringLiteral("entregado-sin-hora")},
        {"17000000001234.M1P1.host", "new", QStringLiteral("17000000001234.M1P1.host")},
        {"1796927272.5107_1.host,U=1:2,", "cur", QStringLiteral("1796927272.5107_1.host")},
        {"1796927272.5107_1.host,U=77:2,S", "cur", QStringLiteral("1796927272.5107_1.host")},
        {"1796927272.5107_1.host,U=1", "new", QStringLiteral("1796927272.5107_1.host")},
        {"1700000006.M6P1.host,S=1234,W=1260:2,RS", "cur", QStringLiteral("1700000006.M6P1.host")},
        {"1700000006.M6P1.host,S=1234,W=1260", "new", QStringLiteral("1700000006.M6P1.host")},
        {"1700000006.M6P1.host,S=12,W=13,U=9:2,", "cur", QStringLiteral("1700000006.M6P1.host")},
        {"1700000006.M6P1.a,b:2,", "cur", QStringLiteral("1700000006.M6P1.a,b")},
    };
    for (const Caso& c : casos) {
        BuzonPrueba buzon;
        QFile f(buzon.Escribir(c.nombre, ConAsunto("x"), c.sub));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(mtime, QFileDevice::FileModificationTime));
        f.close();
        const Elemento e = buzon.Items().Item(1);
        EXPECT_EQ(e.ReceivedTime(), mtime) << c.nombre.constData();
        EXPECT_EQ(e.ReceivedTime().timeSpec(), Qt::LocalTime);
        EXPECT_EQ(e.EntryID(), c.id) << c.nombre.constData();
    }
}

// Files synchronisers keep beside cur/ and new/, or inside them with a dot,
// are never mail.
TEST(ElementosMail, ArchivosDeSincronizadoresNoSonCorreo) {
    BuzonPrueba buzon;
    buzon.Escribir("1700000000.M1P1.host,U=1:2,S", ConAsunto("mensaje"));
    for (const char* nombre : {".mbsyncstate", ".uidvalidity", "dovecot-uidlist",
                               "dovecot.index", "dovecot-keywords"}) {
        QFile f(buzon.Bandeja() + u'/' + QLatin1String(nombre));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ConAsunto("no es correo"));
    }
    buzon.Escribir(".mbsyncstate.lock", ConAsunto("no es correo"));
    buzon.Escribir(".uidvalidity", ConAsunto("no es correo"), "new");
    const Elementos items = buzon.Items();
    ASSERT_EQ(items.Count(), 1);
    EXPECT_EQ(items.Item(1).Subject(), QStringLiteral("mensaje"));
}

TEST(ElementosMail, CarpetaSinMaildirNoTieneElementos) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("cuenta/Bandeja de entrada")));
    const Elementos items = Aplicacion(dir.path())
                                .GetNamespace(QStringLiteral("MAPI"))
                                .Folders(QStringLiteral("cuenta"))
                                .Folders(QStringLiteral("Bandeja de entrada"))
                                .Items();
    EXPECT_EQ(items.Count(), 0);
    EXPECT_TRUE(items.begin() == items.end());
}

TEST(ElementosMail, EnlacesYLoQueNoEsArchivoNoSonElementos) {
    BuzonPrueba buzon;
    QTemporaryDir fuera;
    const QString ajeno = fuera.filePath(QStringLiteral("ajeno"));
    QFile f(ajeno);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ConAsunto("de fuera del almacen"));
    f.close();
    const QString dentro = buzon.Escribir("1700000100.M1P1.host:2,S", ConAsunto("dentro"), "cur");
    const QString cur = buzon.Bandeja() + QStringLiteral("/cur/");
    ASSERT_TRUE(QFile::link(ajeno, cur + QStringLiteral("1700000200.M2P1.host:2,S")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/etc/passwd"), cur + QStringLiteral("1700000300.M3P1.host:2,S")));
    ASSERT_TRUE(QFile::link(dentro, buzon.Bandeja() + QStringLiteral("/new/1700000400.M4P1.host")));
    QDir().mkpath(cur + QStringLiteral("1700000500.M5P1.host"));

    const Elementos items = buzon.Items();
    EXPECT_EQ(Asuntos(items), QStringList{QStringLiteral("dentro")});
    QStringList omitidos = items.Omitidos();
    omitidos.sort();
    EXPECT_EQ(omitidos, (QStringList{cur + QStringLiteral("1700000200.M2P1.host:2,S"),
                                     cur + QStringLiteral("1700000300.M3P1.host:2,S"),
                                     cur + QStringLiteral("1700000500.M5P1.host"),
                                     buzon.Bandeja() + QStringLiteral("/new/1700000400.M4P1.host")}));
}
