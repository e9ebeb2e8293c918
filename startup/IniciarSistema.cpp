#include "startup/IniciarSistema.h"

#include "common/Contexto.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"
#include "startup/CompletarInicio.h"
#include "startup/LineaParametros.h"

namespace startup {

using namespace platform::runtime;

namespace {

// Step 5: the line from the workstation's profile section.
QString LineaDeIni() {
    auto& util = common::Util();
    auto& equipo = common::Equipo();
    const QString seccion = equipo.NombrePC().toUpper() + QLatin1Char('|') +
                            equipo.IdentidadEquipo().toUpper() + QStringLiteral("BaseDeDatos");
    const QString archivo = ArchivoPerfil();
    QString servidor = common::Ini().LeerValor(archivo, seccion, QStringLiteral("Servidor"), QString());
    QString base = common::Ini().LeerValor(archivo, seccion, QStringLiteral("DbName"), QString());
    QString usuario = common::Ini().LeerValor(archivo, seccion, QStringLiteral("Usuario"),
                                              util.Encriptar(QStringLiteral("Corvana")));
    QString password = common::Ini().LeerValor(archivo, seccion, QStringLiteral("UserPassWord"),
                                               util.Encriptar(QStringLiteral("pardelo")));
    usuario = util.Desencriptar(usuario);
    password = util.Desencriptar(password);
    const QString barra = QStringLiteral("|");
    return LineaDesdePerfil(util.QuitarCaracter(servidor, barra), util.QuitarCaracter(base, barra),
                            util.QuitarCaracter(usuario, barra), util.QuitarCaracter(password, barra));
}

}  // namespace

void IniciarSistema(bool usarPerfilIni, const QString& parametros, QString& textoConexion,
                    long modo) {
    auto& ctx = common::Contexto();
    auto& util = common::Util();
    auto& datos = common::Datos();
    QString rutaAplicacion;
    QString linea;
    PerfilConexion perfil;
    bool sinConexion = true;

    // Each key is its own step, so a key without ";" (error 5) is skipped alone.
    const auto clave = [&](const char* nombre, const char* defecto, QString& campo) -> Paso {
        return [&linea, &campo, nombre, defecto] {
            LeerClave(linea, QString::fromLatin1(nombre), QString::fromLatin1(defecto), campo);
        };
    };

    EjecutarPasos(ReglaInicio(), {
        // 1
        [&] { rutaAplicacion = util.RutaConBarra(CarpetaAplicacion()); },
        // 2: help files are not registered on this platform.
        [] {},
        // 3
        [&] { ctx.ColorLetra = 0; ctx.ColorFondo = 16777215; },
        // 4
        [&] { linea = parametros.isEmpty() ? LineaComandos() : parametros; },
        // 5
        [&] { if (linea.trimmed().isEmpty() && usarPerfilIni) linea = LineaDeIni(); },
        // 6
        [&] {
            ctx.SeccionIni = common::Equipo().NombrePC().toUpper() + QLatin1Char('|') +
                             common::Equipo().IdentidadEquipo().toUpper();
            if (ctx.SeccionIni.trimmed().size() > 50) ctx.SeccionIni = ctx.SeccionIni.left(50);
        },
        // 7
        [&] {
            ctx.FlatToolbars = Val(common::Ini().LeerValor(
                ArchivoPerfil(), ctx.SeccionIni, QStringLiteral("FlatToolbars"), QStringLiteral("1")));
        },
        // 8
        [&] { sinConexion = !datos.Conectado(); },
        Si(sinConexion, {
            // 9
            clave("@ParametroAdicional", "", ctx.ParametroAdicional),
            clave("@Menu", "", ctx.Menu),
            clave("@Server", "", perfil.Servidor),
            clave("@DbName", "", perfil.BaseDatos),
            clave("@Usuario", "", perfil.Usuario),
            clave("@Password", "", perfil.Password),
            clave("@UsuarioLogeado", "", ctx.UsuarioLogeado),
            clave("@Caja", "1", ctx.Caja),
            // 10
            [&] {
                const QString s = perfil.Servidor.trimmed();
                if (!s.isEmpty() && s.startsWith(QLatin1Char('#'))) {
                    perfil.Servidor =
                        perfil.Servidor.mid(perfil.Servidor.indexOf(QLatin1Char('#')) + 1);
                    if (textoConexion.isEmpty())
                        textoConexion =
                            TextoConexionOracle(perfil.BaseDatos, perfil.Usuario, perfil.Password);
                }
            },
            // 11
            [&] {
                datos.SetUsuario(perfil.Usuario);
                datos.SetBaseDeDatos(perfil.BaseDatos);
                datos.SetPassword(perfil.Password);
                datos.SetServidor(ExtraerServidor(perfil.Servidor));
            },
            // 12
            [&] {
                const bool incompleto =
                    perfil.Servidor.trimmed().isEmpty() || perfil.Usuario.trimmed().isEmpty();
                datos.Conectar(incompleto, modo, textoConexion, true, true);
            },
            // 13: no connection, no program.
            [&] { if (!datos.Conectado()) FinalizarPrograma(1); },
            // 14
            [&] { ctx.UsuarioLogeado = datos.Usuario(); },
        }),
        // 15
        [&] { CompletarInicio(sinConexion, rutaAplicacion); },
    });
}

}  // namespace startup
