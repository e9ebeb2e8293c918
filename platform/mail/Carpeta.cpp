#include "platform/mail/Carpeta.h"

#include "platform/mail/Aplicacion.h"
#include "platform/runtime/ErrorSistema.h"

#include <QDir>

namespace platform::mail {

namespace {

const QString& BandejaDeEntrada() {
    static const QString nombre = QStringLiteral("Bandeja de entrada");
    return nombre;
}

// The Maildir's own folders are not mail folders.
bool EsPropiaDeMaildir(const QString& nombre) {
    return nombre == QLatin1String("cur") || nombre == QLatin1String("new") ||
           nombre == QLatin1String("tmp");
}

QString Buscar(const QStringList& subcarpetas, const QString& nombre) {
    for (const QString& s : subcarpetas)
        if (s == nombre) return s;
    for (const QString& s : subcarpetas)
        if (s.compare(nombre, Qt::CaseInsensitive) == 0) return s;
    return {};
}

}  // namespace

Carpeta::Carpeta(QString ruta, QString nombre) : ruta_(std::move(ruta)), nombre_(std::move(nombre)) {}

Carpeta Carpeta::Folders(const QString& nombre) const {
    QStringList subcarpetas =
        QDir(ruta_).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    subcarpetas.removeIf(EsPropiaDeMaildir);
    QString hallada = nombre.trimmed().isEmpty() ? QString() : Buscar(subcarpetas, nombre);
    if (hallada.isEmpty() && nombre.compare(BandejaDeEntrada(), Qt::CaseInsensitive) == 0)
        hallada = Buscar(subcarpetas, QStringLiteral("INBOX"));
    if (hallada.isEmpty())
        platform::runtime::Lanzar(
            platform::runtime::Err::ObjetoNoEncontrado,
            QStringLiteral("No se encuentra la carpeta «%1» en «%2».")
                .arg(nombre, QDir::toNativeSeparators(ruta_)));
    return Carpeta(QDir(ruta_).filePath(hallada), hallada);
}

Elementos Carpeta::Items() const { return Elementos(ruta_); }

}  // namespace platform::mail
