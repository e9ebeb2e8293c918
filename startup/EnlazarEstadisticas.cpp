#include "startup/EnlazarEstadisticas.h"

#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "common/ReportarError.h"
#include "platform/db/Errores.h"
#include "platform/runtime/Archivos.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"
#include "platform/ui/MsgBox.h"
#include "startup/LineaParametros.h"

#include <QFileInfo>

namespace startup {

using namespace platform::runtime;
namespace ui = platform::ui;
namespace Archivos = platform::runtime::Archivos;

namespace {

using platform::db::Nativo::ClaveRechazada;
using platform::db::Nativo::NoExisteBase;
using platform::db::Nativo::YaExisteLogin;
const QString CRLF = QStringLiteral("\r\n");

const char* const PiezasRolesServidor[] = {
    "', sysadmin", "', securityadmin", "', serveradmin", "',  setupadmin",
    "', processadmin", "', diskadmin", "', dbcreator",
};

const char* const RolesBase[] = {
    "db_accessadmin", "db_backupoperator", "db_datareader", "db_datawriter",
    "db_ddladmin", "db_owner", "db_securityadmin",
};

const char* const RolesOracle[] = {
    "DBA", "CTXAPP", "WKUSER", "\"CONNECT\"", "OLAP_DBA", "\"RESOURCE\"", "XDBADMIN",
    "EJBCLIENT", "MGMT_USER", "OLAP_USER", "JAVAIDPRIV", "JAVA_ADMIN", "DMUSER_ROLE",
    "JAVASYSPRIV", "JAVA_DEPLOY", "OEM_MONITOR", "AQ_USER_ROLE", "JAVAUSERPRIV",
    "HS_ADMIN_ROLE", "JAVADEBUGPRIV", "WM_ADMIN_ROLE", "DM_CATALOG_ROLE", "SCHEDULER_ADMIN",
    "AUTHENTICATEDUSER", "EXP_FULL_DATABASE", "IMP_FULL_DATABASE", "DELETE_CATALOG_ROLE",
    "SELECT_CATALOG_ROLE", "EXECUTE_CATALOG_ROLE", "AQ_ADMINISTRATOR_ROLE",
    "LOGSTDBY_ADMINISTRATOR", "RECOVERY_CATALOG_OWNER", "GATHER_SYSTEM_STATISTICS",
};

const char* const ObjetosOracle[] = {
    "CTXSYS.CTX_VALIDATE", "CTXSYS.DRI_MOVE_CTXSYS", "EXFSYS.EXF$CHECK_PRIVILEGE",
    "EXFSYS.EXF$EXPCORRCHKOCI", "EXFSYS.EXF$EXPFUNCLISTCHK", "EXFSYS.EXF$XPDUMPTAGSINFO",
    "EXFSYS.GETDUMMYTAGS", "EXFSYS.GETTAGSARROCI", "WKSYS.MOVE_WK", "OUTLN.ORA$GRANT_SYS_SELECT",
    "SYSTEM.ORA$_SYS_REP_AUTH", "WMSYS.OWM_VALIDATE", "SYSMAN.SETEMUSERCONTEXT",
    "SYSMAN.SETEMVIEWUSERCONTEXT", "XDB.SETMODFLG", "ORDSYS.SI_APPENDCLRHSTGR",
    "ORDSYS.SI_CHGCONTENT", "ORDSYS.SI_CONVERTFORMAT", "ORDSYS.SI_SETAVGCLRFTR",
    "ORDSYS.SI_SETCLRHSTGRFTR", "ORDSYS.SI_SETPSTNLCLRFTR", "ORDSYS.SI_SETTEXTUREFTR",
    "CTXSYS.SYNCRN", "WKSYS.UPDATE_ACL_CACHE_SIZE", "DMSYS.VALIDATE_ODM", "ORDSYS.VALIDATE_ORDIM",
    "ORDSYS.VALIDATE_ORDIM_WITH_DETAILS", "MDSYS.VALIDATE_SDO", "WKSYS.WK$POST_OPTIMIZE_INDEX",
    "WKSYS.WK$PRE_OPTIMIZE_INDEX", "WKSYS.WK$UPD_INST", "XDB.XDB$INITXDBSCHEMA",
    "XDB.XDB$PATCHUPDELETESCHEMA", "XDB.XDB$PATCHUPSCHEMA", "XDB.XDB_DATASTORE_PROC",
};

QString L1(const char* s) { return QString::fromLatin1(s); }

// Val() then CInt(): the leading number, halves to even, into 16 bits.
std::int16_t Entero16(const QString& texto) { return CInt(Val(texto)); }

// Handlers of the two provisioning procedures: their own number is skipped
// silently, anything else is put to the operator.
Manejador SaltarOPreguntar(long numeroSilencioso) {
    return [numeroSilencioso](const ErrorSistema& e) {
        if (e.Numero == numeroSilencioso) return Accion::Siguiente;
        return AccionPorRespuesta(common::ReportarError(e));
    };
}

}  // namespace

QString NombreEstadisticas() { return QStringLiteral("CV_ESTADISTICAS"); }
QString ClaveEstadisticas() { return QStringLiteral("RZ_MOLVENTARICO"); }

QString SentenciaAltaLogin(const QString& login, const QString& password, const QString& baseDefecto) {
    return QStringLiteral("EXEC  sp_addlogin N'") + login + QStringLiteral("', '") + password +
           QStringLiteral("', '") + baseDefecto + QStringLiteral("','Spanish'");
}

QString SentenciaRolesServidor(const QString& login) {
    QString texto;
    for (const char* pieza : PiezasRolesServidor)
        texto += QStringLiteral(" EXEC sp_addsrvrolemember N'") + login + L1(pieza);
    return texto;
}

QString SentenciaAccesoBase(const QString& login) {
    return QStringLiteral(" EXEC sp_grantdbaccess @loginame = '") + login +
           QStringLiteral("' , @name_in_db ='") + login + QLatin1Char('\'');
}

QString SentenciaRolesBase(const QString& login) {
    QString texto;
    for (const char* rol : RolesBase)
        texto += QStringLiteral(" EXEC sp_addrolemember N'") + L1(rol) + QStringLiteral("', N'") + login +
                 QLatin1Char('\'');
    return texto;
}

QString GuionUsuarioOracle(const QString& login, const QString& password) {
    QStringList lineas;
    lineas << QStringLiteral("CREATE USER ") + login + QStringLiteral(" IDENTIFIED BY \"") + password +
                  QLatin1Char('"')
           << QStringLiteral(" DEFAULT TABLESPACE USERS") << QStringLiteral(" TEMPORARY TABLESPACE TEMP")
           << QStringLiteral(" PROFILE Default") << QStringLiteral(" ACCOUNT UNLOCK");
    for (const char* rol : RolesOracle)
        lineas << QStringLiteral(" GRANT ") + L1(rol) + QStringLiteral(" TO ") + login +
                      QStringLiteral(" WITH ADMIN OPTION");
    lineas << QStringLiteral(" ALTER USER ") + login + QStringLiteral(" DEFAULT ROLE DBA,\"CONNECT\"")
           << QStringLiteral(" GRANT UNLIMITED TABLESPACE TO ") + login + QStringLiteral(" WITH ADMIN OPTION");
    for (const char* objeto : ObjetosOracle)
        lineas << QStringLiteral(" GRANT EXECUTE ON ") + L1(objeto) + QStringLiteral(" TO ") + login +
                      QStringLiteral(" WITH GRANT OPTION");
    QString guion;
    for (const QString& l : lineas) guion += l + CRLF;
    return guion;
}

QStringList LineasCDB7(const QString& base) {
    const QChar cr(13);
    QStringList lineas;
    lineas << QStringLiteral("Create Database ") + base + QStringLiteral(" COLLATE Latin1_General_CI_AI ") + cr
           << QStringLiteral("GO") + cr
           << QStringLiteral("USE ") + base + cr
           << QStringLiteral("EXEC  sp_addlogin N'") + base + QStringLiteral("', '") + ClaveEstadisticas() +
                  QStringLiteral("', '") + base + QLatin1Char('\'');
    for (const char* pieza : PiezasRolesServidor)
        lineas << QStringLiteral("EXEC sp_addsrvrolemember N'") + base + L1(pieza);
    lineas << QStringLiteral("EXEC sp_grantdbaccess @loginame = '") + base +
                  QStringLiteral("' , @name_in_db ='") + base + QLatin1Char('\'');
    for (const char* rol : RolesBase)
        lineas << QStringLiteral("EXEC sp_addrolemember N'") + L1(rol) + QStringLiteral("', N'") + base +
                      QLatin1Char('\'');
    return lineas;
}

void EnlazarEstadisticas() {
    auto& ctx = common::Contexto();
    auto& datos = common::Datos();
    auto& estadisticas = common::DatosEstadisticas();
    EjecutarPasos(IgnorarErrores(), {
        // 1
        [&] { ctx.TiempoEsperaComandos = 360; },
        // 2
        [&] { if (estadisticas.Conectado()) estadisticas.Conexion().Close(); },
        // 3
        [&] {
            QString base = NombreEstadisticas(), login = NombreEstadisticas(), clave = ClaveEstadisticas();
            CrearUsuarioBase(base, login, clave);
        },
        // 4
        [&] { estadisticas.SetProveedor(datos.ProveedorActual()); },
        [&] { estadisticas.SetServidor(datos.Servidor()); },
        // 5
        [&] {
            estadisticas.SetBaseDeDatos(NombreEstadisticas());
            estadisticas.SetUsuario(NombreEstadisticas());
            estadisticas.SetPassword(ClaveEstadisticas());
        },
        // 6
        [&] { estadisticas.Conectar(false, 3, QString(), true, false); },
        // 7
        [&] { if (estadisticas.Conectado()) estadisticas.Conexion().SetDefaultDatabase(NombreEstadisticas()); },
        [&] {
            if (!estadisticas.Conectado()) return;
            QString aux;
            ctx.TiempoEsperaComandos = Entero16(common::CfgCV(QStringLiteral("TimeOut"), aux));
        },
        [&] {
            if (estadisticas.Conectado() && ctx.TiempoEsperaComandos == 0)
                common::GrabaCfgCV(QStringLiteral("TimeOut"), QVariant(int(ctx.TiempoEsperaComandos)),
                                   QString(), false, QStringLiteral("BaseDeDatos"), true);
        },
        // 8
        [&] { if (ctx.TiempoEsperaComandos == 0) ctx.TiempoEsperaComandos = 360; },
    });
}

void CrearUsuarioBase(QString& baseDefecto, QString& login, QString& password,
                      components::AccesoDatos* instancia) {
    bool oracle = false;
    long primero = 0;
    bool hayErrores = false;
    // Errors the database reports for a statement are judged from the
    // collection below, not here.
    EjecutarPasos(SaltarOPreguntar(Err::ErrorBaseDatos), {
        // 1
        [&] { if (!instancia) instancia = &common::Datos(); },
        // 2
        [&] { oracle = common::Datos().ProveedorActual().contains(QLatin1String("ORACLE"), Qt::CaseInsensitive); },
        [&] { if (oracle) common::Datos().EjecutarSQL(GuionUsuarioOracle(login, password)); },
        [&] { if (oracle) SalirDelProcedimiento(); },
        // 3: A
        [&] { instancia->EjecutarSQL(SentenciaAltaLogin(login, password, baseDefecto)); },
        [&] {
            const auto& errores = instancia->Conexion().Errors();
            hayErrores = !errores.Vacia();
            if (hayErrores) primero = errores.Item(0).NativeError;
        },
        [&] {
            if (!hayErrores || primero != ClaveRechazada) return;
            ui::MsgBox(instancia->Conexion().Errors().Item(0).Description + CRLF +
                           QStringLiteral("Debe cambiar la contraseña del Usuario ") + login +
                           QStringLiteral(" para que cumpla con las directivas de Windows."),
                       ui::Estilo::OKOnly);
        },
        [&] {
            if (!hayErrores) return;
            if (primero == NoExisteBase) {
                QString servidor = common::Datos().Servidor();
                QString a = NombreEstadisticas(), b = NombreEstadisticas(), c = NombreEstadisticas();
                CrearBaseEstadisticas(servidor, a, b, c);
            } else if (primero == YaExisteLogin) {
                SalirDelProcedimiento();
            }
        },
        // B, C, D
        [&] { instancia->EjecutarSQL(SentenciaRolesServidor(login)); },
        [&] { instancia->EjecutarSQL(SentenciaAccesoBase(login)); },
        [&] { instancia->EjecutarSQL(SentenciaRolesBase(login)); },
    });
}

bool CrearBaseEstadisticas(QString& servidor, QString&, QString&, QString& base) {
    auto& estadisticas = common::DatosEstadisticas();
    bool resultado = true;
    // Closing a connection that is not open (3704) is expected here.
    EjecutarPasos(SaltarOPreguntar(Err::ObjetoCerrado), {
        // 1
        [&] {
            const QString ruta = common::Util().RutaConBarra(CarpetaAplicacion()) +
                                 QStringLiteral("completocve.sql");
            if (QFileInfo::exists(ruta)) return;
            ui::MsgBox(QStringLiteral("No se encuentra el archivo ") + ruta +
                           QStringLiteral(", Por favor, ingrese la ruta donde se encuentra! "),
                       ui::Estilo::OKOnly);
            resultado = false;
            SalirDelProcedimiento();
        },
        // 2
        [&] { base = base.trimmed(); },
        // 3
        [&] {
            QString carpeta = Entorno(QStringLiteral("TEMP"));
            if (carpeta.trimmed().isEmpty()) carpeta = common::Equipo().CarpetaEquipo();
            const QString ruta = common::Util().RutaConBarra(carpeta) + QStringLiteral("CDB7.SQL");
            const int numero = Archivos::Libre();
            struct Cierre {
                int n;
                ~Cierre() { Archivos::Cerrar(n); }
            } cierre{numero};
            Archivos::Abrir(numero, ruta, Archivos::Modo::Output);
            for (const QString& linea : LineasCDB7(base)) Archivos::EscribirLinea(numero, linea);
        },
        // 4
        [&] {
            if (!estadisticas.Conectado()) Lanzar(Err::ObjetoCerrado);
            estadisticas.Conexion().Close();
        },
        [&] { estadisticas.SetConectado(false); },
        // 5
        [&] {
            estadisticas.SetUsuario(base);
            estadisticas.SetBaseDeDatos(base);
            estadisticas.SetPassword(ClaveEstadisticas());
            estadisticas.SetServidor(ExtraerServidor(servidor));
        },
        // 6
        [&] { estadisticas.Conectar(false, 3, QString(), false, true); },
        // 7
        [&] {
            if (estadisticas.Conectado())
                estadisticas.Conexion().SetDefaultDatabase(base);
            else
                resultado = false;
        },
    });
    return resultado;
}

}  // namespace startup
