#include "platform/db/CadenasOdbc.h"

#include <QStringList>

namespace platform::db {

QString ValorCadena(const QString& valor) {
    const bool llaves = valor.contains(QLatin1Char(';')) || valor.contains(QLatin1Char('{')) ||
                        valor.contains(QLatin1Char('}')) || valor.contains(QLatin1Char('=')) ||
                        valor != valor.trimmed();
    if (!llaves) return valor;
    QString v = valor;
    return QLatin1Char('{') + v.replace(QStringLiteral("}"), QStringLiteral("}}")) + QLatin1Char('}');
}

namespace {
QString Credenciales(const QString& base, const QString& usuario, const QString& password) {
    QString s;
    if (!base.isEmpty()) s += QStringLiteral("DATABASE=%1;").arg(ValorCadena(base));
    if (!usuario.isEmpty()) s += QStringLiteral("UID=%1;").arg(ValorCadena(usuario));
    s += QStringLiteral("PWD=%1;").arg(ValorCadena(password));
    return s;
}
}  // namespace

QString CadenaFuente(const QString& fuente, const QString& base, const QString& usuario,
                     const QString& password) {
    return QStringLiteral("DSN=%1;").arg(ValorCadena(fuente)) + Credenciales(base, usuario, password);
}

QString CadenaSqlServer(const QString& servidor, const QString& base, const QString& usuario,
                        const QString& password) {
    QString host = servidor.trimmed();
    QString puerto = QStringLiteral("1433");
    const qsizetype coma = host.indexOf(QLatin1Char(','));
    if (coma >= 0) {
        puerto = host.mid(coma + 1).trimmed();
        host = host.left(coma).trimmed();
    }
    QString s = QStringLiteral("DRIVER={FreeTDS};SERVER=%1;").arg(ValorCadena(host));
    // A named instance is found through the server's browser service; its
    // port is not known in advance.
    if (!host.contains(QLatin1Char('\\'))) s += QStringLiteral("PORT=%1;").arg(ValorCadena(puerto));
    return s + QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;") + Credenciales(base, usuario, password);
}

bool EsCadenaOdbc(const QString& texto) {
    const QString t = texto.trimmed();
    return t.startsWith(QStringLiteral("driver="), Qt::CaseInsensitive) ||
           t.startsWith(QStringLiteral("dsn="), Qt::CaseInsensitive) ||
           t.startsWith(QStringLiteral("filedsn="), Qt::CaseInsensitive);
}

QString ValorDeClave(const QString& texto, const QString& clave) {
    for (const QString& parte : texto.split(QLatin1Char(';'))) {
        const qsizetype igual = parte.indexOf(QLatin1Char('='));
        if (igual > 0 && parte.left(igual).trimmed().compare(clave, Qt::CaseInsensitive) == 0)
            return parte.mid(igual + 1).trimmed();
    }
    return {};
}

}  // namespace platform::db
