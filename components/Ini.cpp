#include "components/Ini.h"

#include "platform/runtime/Entorno.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

namespace components {

QString Ini::RutaArchivo(const QString& archivo) {
    const QString enAplicacion = platform::runtime::CarpetaAplicacion() + QLatin1Char('/') + archivo;
    if (QFileInfo::exists(enAplicacion)) return enAplicacion;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/recepcion-email/") + archivo;
}

QString Ini::BuscarEnTexto(const QString& texto, const QString& seccion, const QString& clave,
                           bool& encontrado) {
    encontrado = false;
    bool enSeccion = false;
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    for (QString linea : lineas) {
        linea = linea.trimmed();
        if (linea.isEmpty() || linea.startsWith(QLatin1Char(';')) || linea.startsWith(QLatin1Char('#'))) continue;
        if (linea.startsWith(QLatin1Char('['))) {
            const qsizetype fin = linea.lastIndexOf(QLatin1Char(']'));
            const QString nombre = linea.mid(1, fin > 0 ? fin - 1 : -1).trimmed();
            enSeccion = nombre.compare(seccion.trimmed(), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!enSeccion) continue;
        const qsizetype igual = linea.indexOf(QLatin1Char('='));
        if (igual < 0) continue;
        if (linea.left(igual).trimmed().compare(clave.trimmed(), Qt::CaseInsensitive) != 0) continue;
        QString valor = linea.mid(igual + 1).trimmed();
        if (valor.size() >= 2 && valor.startsWith(QLatin1Char('"')) && valor.endsWith(QLatin1Char('"')))
            valor = valor.mid(1, valor.size() - 2);
        encontrado = true;
        return valor;
    }
    return {};
}

QString Ini::LeerValor(const QString& archivo, const QString& seccion, const QString& clave,
                       const QString& predeterminado) const {
    QFile f(RutaArchivo(archivo));
    if (!f.open(QIODevice::ReadOnly)) return predeterminado;
    const QByteArray bytes = f.readAll();
    // Profiles written on Windows are often in the ANSI code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError()) texto = QStringDecoder(QStringDecoder::Latin1).decode(bytes);
    bool encontrado = false;
    const QString valor = BuscarEnTexto(texto, seccion, clave, encontrado);
    return encontrado ? valor : predeterminado;
}

}  // namespace components
