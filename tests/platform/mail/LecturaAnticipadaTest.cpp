#include "platform/mail/LecturaAnticipada.h"

#include "ApoyoPruebas.h"
#include "BuzonPrueba.h"
#include "ErrorEsperado.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QThread>

#include <atomic>

using namespace platform::mail;
using pruebas::BuzonPrueba;

namespace {

QByteArray ConCuerpo(const QByteArray& asunto, qsizetype bytes) {
    return pruebas::Mensaje("From: a@b.test\nSubject: " + asunto, QByteArray(bytes, 'x') + '\n');
}

}  // namespace

// Items come out in the folder's order. What was read ahead no longer needs
// its file; what was not is read when asked, with the same answers.
TEST(LecturaAnticipadaMail, EnOrdenYCadaUnoLeidoComoSePidio) {
    BuzonPrueba buzon;
    const Lectura lecturas[] = {Lectura::Completa, Lectura::Asunto, Lectura::Nada,
                                Lectura::Completa};
    for (int i = 0; i < 4; ++i)
        buzon.Escribir("170000000" + QByteArray::number(i) + ".M1P1.host:2,S",
                       ConCuerpo("m" + QByteArray::number(i), 10));
    buzon.Escribir("1700000009.M1P1.host:2,S", "no es correo");
    int pedidas = 0;
    LecturaAnticipada lectura(buzon.Items(), [&](const Elemento&) {
        const int i = pedidas++;
        if (i == 4) throw std::runtime_error("la decisión falla");
        return lecturas[i];
    });
    for (int i = 0; i < 4; ++i) {
        const std::optional<Elemento> e = lectura.Siguiente();
        ASSERT_TRUE(e);
        const QString ruta = e->Ruta();
        const QByteArray crudo = [&] {
            QFile f(ruta);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        ASSERT_TRUE(QFile::remove(ruta));
        if (lecturas[i] != Lectura::Nada) {
            EXPECT_EQ(e->Subject(), QStringLiteral("m%1").arg(i));
        } else {
            // Not read ahead: with its file gone, it is not mail.
            EXPECT_EQ(pruebas::NumeroDe([&] { e->Subject(); }), 438);
        }
        if (lecturas[i] == Lectura::Completa) {
            EXPECT_EQ(e->BodyFormat(), 1);
            EXPECT_EQ(e->Body().trimmed(), QString(10, u'x'));
            EXPECT_EQ(e->Attachments().Count(), 0);
        }
        pruebas::EscribirArchivo(ruta, crudo);
    }
    const std::optional<Elemento> malo = lectura.Siguiente();
    ASSERT_TRUE(malo);
    EXPECT_EQ(pruebas::NumeroDe([&] { malo->Subject(); }), 438);
    EXPECT_FALSE(lectura.Siguiente());
    EXPECT_FALSE(lectura.Siguiente());
}

// What is held at once stays within the limit, except one message larger
// than the limit, which is read alone.
TEST(LecturaAnticipadaMail, RetieneComoMuchoElLimiteOUnMensajeGrande) {
    BuzonPrueba buzon;
    const qsizetype tamanos[] = {20000, 20000, 20000, 400000, 20000, 20000, 20000, 20000};
    for (int i = 0; i < int(std::size(tamanos)); ++i)
        buzon.Escribir("170000000" + QByteArray::number(i) + ".M1P1.host:2,S",
                       ConCuerpo("m", tamanos[i]));
    LecturaAnticipada lectura(buzon.Items(), [](const Elemento&) { return Lectura::Completa; },
                              {100000, 100});
    int vistos = 0;
    while (const std::optional<Elemento> e = lectura.Siguiente()) {
        EXPECT_EQ(e->Body().trimmed().size(), tamanos[vistos]);
        ++vistos;
    }
    EXPECT_EQ(vistos, int(std::size(tamanos)));
    EXPECT_LE(lectura.MaximoRetenido(), 4 * 400000);
    EXPECT_GT(lectura.MaximoRetenido(), 100000);  // the large one was read, alone
}

// Leaving early, with the thread waiting for room or still reading, neither
// hangs nor reads the rest of the folder.
TEST(LecturaAnticipadaMail, SeDetieneConLaColaLlena) {
    BuzonPrueba buzon;
    for (int i = 0; i < 50; ++i)
        buzon.Escribir("17000000" + QByteArray::number(10 + i) + ".M1P1.host:2,S",
                       ConCuerpo("m", 100));
    for (const int tomados : {0, 1, 2}) {
        std::atomic<int> pedidas = 0;
        {
            LecturaAnticipada lectura(buzon.Items(),
                                      [&](const Elemento&) {
                                          ++pedidas;
                                          return Lectura::Completa;
                                      },
                                      {1, 2});
            for (int i = 0; i < tomados; ++i) ASSERT_TRUE(lectura.Siguiente());
            // Give the thread time to fill what it may hold.
            for (int espera = 0; espera < 200 && pedidas < tomados + 2; ++espera)
                QThread::msleep(5);
        }
        // Those handed out, one waiting to be, one waiting for room.
        EXPECT_LE(pedidas, tomados + 2) << tomados;
    }
}

// The files' stats are taken ahead on another thread: each item still gets
// its own file's time, also for a file a mail client moved from new/ to cur/
// after the listing, and none for one deleted meanwhile.
TEST(LecturaAnticipadaMail, CadaElementoConLaHoraDeSuArchivo) {
    BuzonPrueba buzon;
    constexpr int Total = 300;
    QStringList rutas;
    for (int i = 0; i < Total; ++i) {
        const QByteArray unico = "17000" + QByteArray::number(10000 + i) + ".M1P1.host";
        const bool nuevo = i % 3 == 0;
        rutas << buzon.Escribir(unico + (nuevo ? "" : ":2,S"), ConCuerpo("m", 10), nuevo ? "new" : "cur");
        QFile f(rutas.last());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::fromSecsSinceEpoch(1700000000 + 7 * i), QFileDevice::FileModificationTime));
    }
    const Elementos elementos = buzon.Items();
    const QString movido = QString(rutas[30]).replace(QStringLiteral("/new/"), QStringLiteral("/cur/")) +
                           QStringLiteral(":2,S");
    ASSERT_TRUE(QFile::rename(rutas[30], movido));
    ASSERT_TRUE(QFile::remove(rutas[31]));
    std::atomic<int> pedidas = 0;
    LecturaAnticipada lectura(elementos, [&](const Elemento&) {
        // The first one waits, so that the stats thread is well ahead.
        if (pedidas++ == 0) QThread::msleep(50);
        return Lectura::Nada;
    });
    int i = 0;
    while (const std::optional<Elemento> e = lectura.Siguiente()) {
        const std::optional<qint64> segundos = e->SegundosRecibido();
        if (i == 31) {
            EXPECT_FALSE(segundos);
        } else {
            ASSERT_TRUE(segundos) << i;
            EXPECT_EQ(*segundos, 1700000000 + 7 * i) << i;
        }
        if (i == 30) {
            EXPECT_EQ(e->Ruta(), movido);
        }
        ++i;
    }
    EXPECT_EQ(i, Total);
}
