#include "platform/mail/Adjunto.h"

#include "platform/mail/Contenido.h"
#include "platform/runtime/ErrorSistema.h"

#include <QFile>

namespace platform::mail {

using platform::runtime::Err::ArgumentoNoValido;
using platform::runtime::Err::ErrorAccesoRuta;
using platform::runtime::Lanzar;

Adjunto::Adjunto(std::shared_ptr<const detail::Contenido> contenido, int indice)
    : contenido_(std::move(contenido)), indice_(indice) {}

int Adjunto::Type() const { return contenido_->adjuntos[size_t(indice_)].tipo; }

QString Adjunto::FileName() const { return contenido_->adjuntos[size_t(indice_)].nombre; }

QString Adjunto::ContentId() const { return contenido_->adjuntos[size_t(indice_)].contentId; }

void Adjunto::SaveAsFile(const QString& ruta) const {
    const QByteArray datos = detail::BytesDeAdjunto(contenido_->adjuntos[size_t(indice_)]);
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        archivo.write(datos) != datos.size() || !archivo.flush()) {
        Lanzar(ErrorAccesoRuta,
               QStringLiteral("No se pudo guardar el adjunto en «%1»: %2")
                   .arg(ruta, archivo.errorString()));
    }
}

Adjuntos::Adjuntos(std::shared_ptr<const detail::Contenido> contenido)
    : contenido_(std::move(contenido)) {}

int Adjuntos::Count() const { return int(contenido_->adjuntos.size()); }

Adjunto Adjuntos::Item(int indice) const {
    if (indice < 1 || indice > Count())
        Lanzar(ArgumentoNoValido,
               QStringLiteral("No hay adjunto número %1 (hay %2).").arg(indice).arg(Count()));
    return Adjunto(contenido_, indice - 1);
}

}  // namespace platform::mail
