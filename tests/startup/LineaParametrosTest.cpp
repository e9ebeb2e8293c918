#include "startup/LineaParametros.h"
#include "common/Contexto.h"
#include "platform/runtime/Pasos.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

using namespace startup;
using platform::runtime::ErrorSistema;

namespace {
// Parses the eight keys as start-up does, each as its own step.
PerfilConexion Parsear(const QString& linea) {
    PerfilConexion p;
    using platform::runtime::Paso;
    const auto paso = [&](const char* k, const char* d, QString& campo) -> Paso {
        return [&, k, d] { LeerClave(linea, QString::fromLatin1(k), QString::fromLatin1(d), campo); };
    };
    platform::runtime::EjecutarPasos(platform::runtime::ReglaInicio(), {
        paso("@ParametroAdicional", "", p.ParametroAdicional), paso("@Menu", "", p.Menu),
        paso("@Server", "", p.Servidor), paso("@DbName", "", p.BaseDatos),
        paso("@Usuario", "", p.Usuario), paso("@Password", "", p.Password),
        paso("@UsuarioLogeado", "", p.UsuarioLogeado), paso("@Caja", "1", p.Caja)});
    return p;
}
QString Campos(const PerfilConexion& p) {
    return QStringList{p.ParametroAdicional, p.Menu, p.Servidor, p.BaseDatos, p.Usuario, p.Password,
                       p.UsuarioLogeado, p.Caja}.join(QLatin1Char('|'));
}
}  // namespace

// Input line -> ParametroAdicional|Menu|Server|DbName|Usuario|Password|UsuarioLogeado|Caja
TEST(LineaParametros, TablaDeCasos) {
    const QString largo(40000, QLatin1Char('x'));
    struct Caso { QString linea; QString campos; };
    const Caso casos[] = {
        {QString(), QStringLiteral("|||||||1")},
        {QStringLiteral("@Server=SRV1;@DbName= GESTION ;@Usuario=ANA;@Password=;"),
         QStringLiteral("||SRV1|GESTION|ANA|||1")},
        {QStringLiteral("@dbname=X;@SERVER=#ORA;@caja=7;"), QStringLiteral("||#ORA|X||||7")},
        {QStringLiteral("@Menu=12"), QStringLiteral("|||||||1")},                    // no ";": left empty
        {QStringLiteral("@UsuarioLogeado=X;@Usuario=Y;"), QStringLiteral("||||LogeadoX||X|1")},
        {QStringLiteral("@Password=a=b==c;"), QStringLiteral("|||||abc||1")},         // "=" removed
        {QStringLiteral("@DbName=A;@DbName=B;"), QStringLiteral("|||A||||1")},        // first wins
        {QStringLiteral("@Server=ñandú €;"), QStringLiteral("||ñandú €|||||1")},
        {QStringLiteral("@ParametroAdicional=abcdefghijklmnopqrstuvwxyz"),
         QStringLiteral("abcdefghijklmnopqr|||||||1")},                              // 19 characters
        {QStringLiteral(";;;;===;;"), QStringLiteral("|||||||1")},
        // A key beyond 16-bit positions overflows, which ends start-up: Caja never set.
        {largo + QStringLiteral("@Server=S;"), QStringLiteral("|||||||")},
    };
    for (const Caso& c : casos) EXPECT_EQ(Campos(Parsear(c.linea)), c.campos) << c.linea.left(80).toStdString();
}

TEST(LineaParametros, LineaDelPerfilIni) {
    const QString linea = LineaDesdePerfil(QStringLiteral("S"), QStringLiteral("D"), QStringLiteral("U"), QStringLiteral("P"));
    EXPECT_EQ(linea, QStringLiteral("@server=S; @dbname= D; @usuario= U; @Password= P; @ParametroAdicional=; @Caja=1;torl@"));
    EXPECT_EQ(Campos(Parsear(linea)), QStringLiteral("||S|D|U|P||1"));
}

TEST(LineaParametros, ExtraerServidor) {
    const std::pair<const char*, const char*> casos[] = {
        {"a/b:c", "b"}, {"a:c", "a"}, {"a/b", "b"}, {"abc", "abc"}, {"", ""},
        {"a/b/c:d", "b/c"}, {":x", ""}, {"tcp/HOST:1433", "HOST"}};
    for (const auto& [entrada, salida] : casos)
        EXPECT_EQ(ExtraerServidor(QString::fromUtf8(entrada)), QString::fromUtf8(salida)) << entrada;
}
