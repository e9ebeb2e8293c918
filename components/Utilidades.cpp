#include "components/Utilidades.h"

#include "platform/ui/MsgBox.h"

#include <QRegularExpression>

#include <cmath>

namespace components {

namespace {
// Prefix that marks a scrambled text, so plain texts pass through unchanged.
const QLatin1String Marca("~1");
const QByteArray Clave("RecepcionDeEmail");
}  // namespace

QString Utilidades::Truncar(const QString& texto, int n) const {
    if (n < 0) platform::runtime::Lanzar(platform::runtime::Err::ArgumentoNoValido);
    return texto.left(n);
}

double Utilidades::ValorNumero(const QString& texto) const {
    QString t = texto.trimmed();
    // The product writes decimals either way; take a lone comma as the separator.
    if (!t.contains(QLatin1Char('.')) && t.count(QLatin1Char(',')) == 1) t.replace(QLatin1Char(','), QLatin1Char('.'));
    else t.remove(QLatin1Char(','));
    static const QRegularExpression numero(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const auto m = numero.match(t);
    if (!m.hasMatch()) return 0.0;
    const double v = m.captured(0).toDouble();
    return std::round(v * 10000.0) / 10000.0;
}

QString Utilidades::NoNulo(const platform::db::Valor& valor) const {
    if (platform::db::EsNulo(valor)) return QString();
    if (valor.typeId() == QMetaType::Bool) return valor.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    return valor.toString();
}

int Utilidades::CantidadPalabras(const QString& texto) const {
    return static_cast<int>(texto.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

QString Utilidades::QuitarCaracter(const QString& texto, const QString& caracter) const {
    if (caracter.isEmpty()) return texto;
    QString r = texto;
    return r.remove(caracter, Qt::CaseInsensitive);
}

int Utilidades::MostrarError(const platform::runtime::ErrorSistema& error) const {
    QString texto = QStringLiteral("Error %1: %2").arg(error.Numero).arg(error.Descripcion);
    if (!error.Fuente.isEmpty()) texto += QStringLiteral("\r\nOrigen: ") + error.Fuente;
    return platform::ui::MsgBox(texto,
                                platform::ui::Estilo::AbortRetryIgnore + platform::ui::Estilo::Critical,
                                QStringLiteral("Error"));
}

QString Utilidades::Encriptar(const QString& texto) const {
    QByteArray bytes = texto.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ Clave[i % Clave.size()] ^ static_cast<char>(i * 7));
    return Marca + QString::fromLatin1(bytes.toHex().toUpper());
}

QString Utilidades::Desencriptar(const QString& texto) const {
    if (!texto.startsWith(Marca)) return texto;
    const QByteArray hex = texto.mid(Marca.size()).toLatin1();
    QByteArray bytes = QByteArray::fromHex(hex);
    if (bytes.toHex().toUpper() != hex.toUpper()) return texto;  // not ours
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ Clave[i % Clave.size()] ^ static_cast<char>(i * 7));
    return QString::fromUtf8(bytes);
}

QString Utilidades::RutaConBarra(const QString& carpeta) const {
    // An empty folder gives the separator alone, as the old function did.
    if (carpeta.endsWith(QLatin1Char('/'))) return carpeta;
    return carpeta + QLatin1Char('/');
}

}  // namespace components
