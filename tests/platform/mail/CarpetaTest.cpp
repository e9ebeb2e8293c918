#include "platform/runtime/ErrorSistema.h"
#include "BuzonPrueba.h"
#include "ErrorEsperado.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

using namespace platform::mail;
using pruebas::NumeroDe;

namespace {

QString Crear(const QTemporaryDir& dir, const QString& relativa) {
    const QString ruta = dir.filePath(relativa);
    QDir().mkpath(ruta);
    return ruta;
}

EspacioNombres Mapi(const QTemporaryDir& dir) {
    return Aplicacion(dir.path()).GetNamespace(QStringLiteral("MAPI"));
}

}  // namespace

TEST(CarpetaMail, CuentaExactaOSinMayusculas) {
    QTemporaryDir dir;
    Crear(dir, QStringLiteral("Ventas@Empresa.test/Bandeja de entrada"));
    Crear(dir, QStringLiteral("ventas@empresa.test.viejo"));
    const Carpeta cuenta = Mapi(dir).Folders(QStringLiteral("ventas@empresa.test"));
    EXPECT_EQ(cuenta.Name(), QStringLiteral("Ventas@Empresa.test"));
    EXPECT_EQ(cuenta.Ruta(), dir.filePath(QStringLiteral("Ventas@Empresa.test")));
}

TEST(CarpetaMail, BandejaDeEntradaPorNombreOINBOX) {
    struct Caso {
        QStringList carpetas;
        QString esperada;
    };
    const Caso casos[] = {
        {{QStringLiteral("Bandeja de entrada"), QStringLiteral("INBOX")}, QStringLiteral("Bandeja de entrada")},
        {{QStringLiteral("bandeja DE Entrada")}, QStringLiteral("bandeja DE Entrada")},
        {{QStringLiteral("INBOX"), QStringLiteral("Enviados")}, QStringLiteral("INBOX")},
        {{QStringLiteral("Inbox")}, QStringLiteral("Inbox")},
        {{QStringLiteral("inbox")}, QStringLiteral("inbox")},
    };
    for (const Caso& caso : casos) {
        QTemporaryDir dir;
        for (const QString& c : caso.carpetas) Crear(dir, QStringLiteral("cuenta/") + c + QStringLiteral("/cur"));
        const Carpeta bandeja = Mapi(dir).Folders(QStringLiteral("cuenta"))
                                    .Folders(QStringLiteral("Bandeja de entrada"));
        EXPECT_EQ(bandeja.Name(), caso.esperada) << caso.carpetas.join(u',').toStdString();
    }
}

TEST(CarpetaMail, LoQueNoExisteEsObjetoNoEncontrado) {
    QTemporaryDir dir;
    Crear(dir, QStringLiteral("cuenta/Enviados/cur"));
    Crear(dir, QStringLiteral("cuenta/cur"));
    const EspacioNombres mapi = Mapi(dir);
    try {
        mapi.Folders(QStringLiteral("otra@cuenta.test"));
        FAIL() << "una cuenta inexistente se encontró";
    } catch (const platform::runtime::ErrorSistema& e) {
        EXPECT_EQ(e.Numero, platform::runtime::Err::ObjetoNoEncontrado);
        EXPECT_TRUE(e.Descripcion.contains(QStringLiteral("otra@cuenta.test")));
    }
    const Carpeta cuenta = mapi.Folders(QStringLiteral("cuenta"));
    EXPECT_EQ(NumeroDe([&] { cuenta.Folders(QStringLiteral("Bandeja de entrada")); }),
              platform::runtime::Err::ObjetoNoEncontrado);
    // The Maildir's own folders and empty names are never mail folders.
    EXPECT_EQ(NumeroDe([&] { cuenta.Folders(QStringLiteral("cur")); }), platform::runtime::Err::ObjetoNoEncontrado);
    EXPECT_EQ(NumeroDe([&] { mapi.Folders(QString()); }), platform::runtime::Err::ObjetoNoEncontrado);
    EXPECT_EQ(NumeroDe([&] { Aplicacion(dir.filePath(QStringLiteral("no-hay"))).GetNamespace(QStringLiteral("MAPI")).Folders(QStringLiteral("cuenta")); }),
              platform::runtime::Err::ObjetoNoEncontrado);
}

TEST(CarpetaMail, SoloElEspacioMapi) {
    QTemporaryDir dir;
    EXPECT_EQ(NumeroDe([&] { Aplicacion(dir.path()).GetNamespace(QStringLiteral("mapi")); }), 0);
    EXPECT_EQ(NumeroDe([&] { Aplicacion(dir.path()).GetNamespace(QStringLiteral("IMAP")); }), 5);
}

TEST(CarpetaMail, RaizDelEntornoOMailEnCasa) {
    {
        pruebas::VariableEntorno correo("RECEPCION_CORREO", QStringLiteral("/srv/correo"));
        EXPECT_EQ(Aplicacion::RaizPredeterminada(), QStringLiteral("/srv/correo"));
        EXPECT_EQ(Aplicacion().Raiz(), QStringLiteral("/srv/correo"));
    }
    pruebas::VariableEntorno sinCorreo("RECEPCION_CORREO", QString());
    EXPECT_EQ(Aplicacion::RaizPredeterminada(), QDir::home().filePath(QStringLiteral("Mail")));
}
