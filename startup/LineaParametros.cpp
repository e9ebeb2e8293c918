#include "startup/LineaParametros.h"

#include "common/Contexto.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/ErrorSistema.h"

namespace startup {

using platform::runtime::Entero16;

void LeerClave(const QString& linea, const QString& clave, const QString& predeterminado,
               QString& campo) {
    // Positions are 1-based, as the old InStr gave them.
    const qsizetype p = Entero16(linea.indexOf(clave, 0, Qt::CaseInsensitive) + 1);
    if (p == 0) {
        campo = predeterminado;
        return;
    }
    const qsizetype e = Entero16(linea.indexOf(QLatin1Char(';'), p - 1) + 1);
    qsizetype largo = Entero16(e - clave.size() - p);
    if (e == 0 && clave.compare(QLatin1String("@ParametroAdicional"), Qt::CaseInsensitive) == 0) {
        // This key has always taken as many characters as its own name here.
        largo = clave.size();
    }
    if (largo < 0) platform::runtime::Lanzar(platform::runtime::Err::ArgumentoNoValido);
    const QString valor = linea.mid(p - 1 + clave.size(), largo);
    campo = common::Util().QuitarCaracter(valor, QStringLiteral("=")).trimmed();
}

QString LineaDesdePerfil(const QString& servidor, const QString& base, const QString& usuario,
                         const QString& password) {
    return QStringLiteral("@server=") + servidor + QStringLiteral("; @dbname= ") + base +
           QStringLiteral("; @usuario= ") + usuario + QStringLiteral("; @Password= ") + password +
           QStringLiteral("; @ParametroAdicional=; @Caja=1;torl@");
}

QString ExtraerServidor(const QString& servidor) {
    QString parte = servidor;
    const qsizetype barra = parte.indexOf(QLatin1Char('/'));
    if (barra >= 0) parte = parte.mid(barra + 1);
    const qsizetype dosPuntos = parte.indexOf(QLatin1Char(':'));
    if (dosPuntos >= 0) parte = parte.left(dosPuntos);
    return parte;
}

QString TextoConexionOracle(const QString& base, const QString& usuario, const QString& password) {
    return QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + base +
           QStringLiteral(";User Id=") + usuario + QStringLiteral(";Password=") + password +
           QStringLiteral(";");
}

}  // namespace startup
