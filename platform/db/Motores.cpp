#include "platform/db/Motores.h"

#include "platform/db/CadenasOdbc.h"
#include "platform/db/ConexionOdbc.h"
#include "platform/db/ConexionSqlite.h"
#include "platform/db/Odbc.h"
#include "platform/runtime/ErrorSistema.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace platform::db {

namespace {
std::function<void(const QString&)>& AvisoBaseNueva() {
    static std::function<void(const QString&)> aviso;
    return aviso;
}

QString EsquemaDe(const QString& base) {
    const bool estadisticas = base.compare(BaseEstadisticas(), Qt::CaseInsensitive) == 0;
    QFile f(estadisticas ? QStringLiteral(":/schema/estadisticas.sql")
                         : QStringLiteral(":/schema/negocio.sql"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

bool NombreValido(const QString& base) {
    if (base.isEmpty() || base.size() > 120 || base.startsWith(QLatin1Char('.'))) return false;
    for (QChar c : base)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') ||
              c == QLatin1Char('.') || c == QLatin1Char(' ')))
            return false;
    return true;
}
}  // namespace

QString CarpetaDatos() {
    const QString fijada = qEnvironmentVariable("RECEPCION_DATOS");
    if (!fijada.isEmpty()) return fijada;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/recepcion-email");
}

QString ArchivoBaseEmbebida(const QString& base) {
    const QDir carpeta(CarpetaDatos());
    // Database names are not case-sensitive: reuse a file that differs only in case.
    const QString buscado = base + QStringLiteral(".db");
    for (const QString& existente : carpeta.entryList({QStringLiteral("*.db")}, QDir::Files))
        if (existente.compare(buscado, Qt::CaseInsensitive) == 0) return carpeta.filePath(existente);
    return carpeta.filePath(buscado);
}

bool EsFuenteDeDatos(const QString& nombre) {
    if (nombre.trimmed().isEmpty()) return false;
    for (const QString& f : odbc::FuentesDeDatos())
        if (f.compare(nombre.trimmed(), Qt::CaseInsensitive) == 0) return true;
    return false;
}

namespace {
// Oracle: the profile's "Data Source" (or the server) as an ODBC data source.
std::unique_ptr<Conexion> AbrirOracle(const ParametrosConexion& p) {
    const QString fuente = ValorDeClave(p.textoConexion, QStringLiteral("Data Source"));
    const QString usuario = ValorDeClave(p.textoConexion, QStringLiteral("User Id"));
    const QString password = ValorDeClave(p.textoConexion, QStringLiteral("Password"));
    for (const QString& nombre : {fuente, p.servidor.trimmed()}) {
        if (EsFuenteDeDatos(nombre))
            return std::make_unique<ConexionOdbc>(
                CadenaFuente(nombre, QString(), usuario.isEmpty() ? p.usuario : usuario,
                             password.isEmpty() ? p.password : password),
                nombre, p.tiempoEspera);
    }
    runtime::Lanzar(runtime::Err::ErrorNoEspecificado,
                    QStringLiteral("No se pudo abrir la base de datos Oracle %1: no hay instalado ningún "
                                   "controlador ODBC de Oracle ni un origen de datos ODBC con ese nombre.")
                        .arg(fuente.isEmpty() ? p.servidor : fuente));
}
}  // namespace

std::unique_ptr<Conexion> AbrirConexion(const ParametrosConexion& p) {
    const QString texto = p.textoConexion.trimmed();
    if (!texto.isEmpty()) {
        if (EsCadenaOdbc(texto)) return std::make_unique<ConexionOdbc>(texto, p.servidor.isEmpty() ? texto.section(QLatin1Char(';'), 0, 0) : p.servidor, p.tiempoEspera);
        if (texto.contains(QStringLiteral("oracle"), Qt::CaseInsensitive)) return AbrirOracle(p);
        runtime::Lanzar(runtime::Err::ErrorNoEspecificado,
                        QStringLiteral("No se pudo abrir la base de datos %1: el texto de conexión no es "
                                       "una cadena ODBC (\"Driver=…;\" o \"DSN=…;\").").arg(p.base));
    }
    const QString servidor = p.servidor.trimmed();
    if (!servidor.isEmpty()) {
        if (EsFuenteDeDatos(servidor))
            return std::make_unique<ConexionOdbc>(CadenaFuente(servidor, p.base, p.usuario, p.password),
                                                  servidor, p.tiempoEspera);
        return std::make_unique<ConexionOdbc>(CadenaSqlServer(servidor, p.base, p.usuario, p.password),
                                              servidor, p.tiempoEspera);
    }
    if (!NombreValido(p.base)) {
        runtime::Lanzar(runtime::Err::ErrorNoEspecificado,
                        QStringLiteral("No se pudo abrir la base de datos \"%1\": el nombre no es "
                                       "válido para la base de datos integrada.").arg(p.base));
    }
    const QString carpeta = CarpetaDatos();
    if (!QDir().mkpath(carpeta)) {
        runtime::Lanzar(runtime::Err::ErrorNoEspecificado,
                        QStringLiteral("No se pudo abrir la base de datos %1: no se puede crear la "
                                       "carpeta de datos %2.").arg(p.base, carpeta));
    }
    auto conexion = std::make_unique<ConexionSqlite>(ArchivoBaseEmbebida(p.base), p.base, EsquemaDe,
                                                     p.tiempoEspera);
    if (conexion->Creada() && AvisoBaseNueva()) AvisoBaseNueva()(conexion->Archivo());
    return conexion;
}

void EstablecerAvisoBaseNueva(std::function<void(const QString& archivo)> aviso) {
    AvisoBaseNueva() = std::move(aviso);
}

}  // namespace platform::db
