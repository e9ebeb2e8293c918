#include "platform/mail/Adjunto.h"

#include "platform/mail/Contenido.h"
#include "platform/runtime/ErrorSistema.h"
#include "platform/runtime/FalloSistema.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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
    // Written with the system calls, so that the operator reads why it
    // failed (a full disk, a read-only folder) and not just that it did.
    const QByteArray nombre = QFile::encodeName(ruta);
    const auto fallar = [&](int numero) {
        Lanzar(ErrorAccesoRuta, QStringLiteral("No se pudo guardar el adjunto en «%1»: %2")
                                    .arg(ruta, platform::runtime::DescripcionFalloSistema(numero)));
    };
    int fd;
    do fd = ::open(nombre.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) fallar(errno);
    const char* resto = datos.constData();
    qsizetype falta = datos.size();
    while (falta > 0) {
        const ssize_t n = ::write(fd, resto, size_t(falta));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int numero = n < 0 ? errno : ENOSPC;
            ::close(fd);
            fallar(numero);
        }
        resto += n;
        falta -= n;
    }
    if (::close(fd) != 0 && errno != EINTR) fallar(errno);
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
