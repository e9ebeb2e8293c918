#include "platform/db/Motores.h"

#include "platform/db/ConexionSqlite.h"
#include "platform/runtime/ErrorSistema.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace platform::db {

namespace {
constexpr long ErrorNoEspecificado = -2147467259;

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

std::unique_ptr<Conexion> AbrirConexion(const ParametrosConexion& p) {
    if (!p.servidor.trimmed().isEmpty() || !p.textoConexion.trimmed().isEmpty()) {
        runtime::Lanzar(ErrorNoEspecificado,
                        QStringLiteral("No se pudo abrir la base de datos %1 en el servidor \"%2\": "
                                       "esta instalación solo trae la base de datos integrada "
                                       "(deje el servidor vacío).").arg(p.base, p.servidor));
    }
    if (!NombreValido(p.base)) {
        runtime::Lanzar(ErrorNoEspecificado,
                        QStringLiteral("No se pudo abrir la base de datos \"%1\": el nombre no es "
                                       "válido para la base de datos integrada.").arg(p.base));
    }
    const QString carpeta = CarpetaDatos();
    if (!QDir().mkpath(carpeta)) {
        runtime::Lanzar(ErrorNoEspecificado,
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
