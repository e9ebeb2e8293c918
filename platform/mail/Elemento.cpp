#include "platform/mail/Elemento.h"

#include "platform/mail/EstadoElemento.h"
#include "platform/mail/HtmlTexto.h"
#include "platform/mail/NombreSeguro.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStringList>

namespace platform::mail {

namespace {

struct Buzon {
    QString nombre;
    QString direccion;
};

// Mailboxes of an address list, groups opened up, in order.
QList<Buzon> Buzones(InternetAddressList* lista) {
    QList<Buzon> buzones;
    if (!lista) return buzones;
    std::vector<std::pair<InternetAddressList*, int>> pila{{lista, 0}};
    while (!pila.empty()) {
        auto& [actual, i] = pila.back();
        if (i >= internet_address_list_length(actual)) {
            pila.pop_back();
            continue;
        }
        InternetAddress* direccion = internet_address_list_get_address(actual, i++);
        if (INTERNET_ADDRESS_IS_GROUP(direccion)) {
            pila.emplace_back(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(direccion)), 0);
        } else if (INTERNET_ADDRESS_IS_MAILBOX(direccion)) {
            buzones.append({detail::TextoVisible(internet_address_get_name(direccion)).trimmed(),
                            detail::TextoVisible(internet_address_mailbox_get_addr(
                                                     INTERNET_ADDRESS_MAILBOX(direccion)))
                                .trimmed()});
        }
    }
    return buzones;
}

Buzon Remitente(GMimeMessage* mensaje) {
    QList<Buzon> buzones = Buzones(g_mime_message_get_from(mensaje));
    if (buzones.isEmpty()) buzones = Buzones(g_mime_message_get_sender(mensaje));
    return buzones.isEmpty() ? Buzon{} : buzones.first();
}

// Display names joined as Outlook shows a recipient line; the address
// stands in for a recipient without a name.
QString Destinatarios(GMimeMessage* mensaje, GMimeAddressType tipo) {
    QStringList nombres;
    for (const Buzon& b : Buzones(g_mime_message_get_addresses(mensaje, tipo)))
        nombres << (b.nombre.isEmpty() ? b.direccion : b.nombre);
    nombres.removeAll(QString());
    return nombres.join(QStringLiteral("; "));
}

QString PrimeraReferencia(const char* valor) {
    if (!valor) return {};
    GMimeReferences* refs = g_mime_references_parse(detail::OpcionesAnalisis(), valor);
    if (!refs) return {};
    QString id;
    if (g_mime_references_length(refs) > 0)
        id = QString::fromUtf8(g_mime_references_get_message_id(refs, 0));
    g_mime_references_free(refs);
    return id;
}

QString Huella(const QString& id) {
    QString normal;
    for (QChar c : id)
        if (!c.isSpace() && c != u'<' && c != u'>') normal += c;
    return QString::fromLatin1(
        QCryptographicHash::hash(normal.toLower().toUtf8(), QCryptographicHash::Md5)
            .toHex()
            .toUpper());
}

}  // namespace

Elemento::Elemento(std::shared_ptr<detail::EstadoElemento> estado) : estado_(std::move(estado)) {}

QString Elemento::EntryID() const { return estado_->Entrada(); }

QDateTime Elemento::ReceivedTime() const { return estado_->Recibido(); }

std::optional<qint64> Elemento::SegundosRecibido() const {
    const detail::DatosArchivo& datos = estado_->Datos();
    if (!datos.existe) return std::nullopt;
    return datos.segundos;
}

QString Elemento::Subject() const {
    // A message already imported needs only its subject: no parsed message for it.
    if (auto asunto = estado_->AsuntoSinAnalizar()) return *asunto;
    return detail::TextoVisible(g_mime_message_get_subject(estado_->Cabeceras()));
}

QString Elemento::SenderName() const {
    const Buzon b = Remitente(estado_->Cabeceras());
    return b.nombre.isEmpty() ? b.direccion : b.nombre;
}

QString Elemento::SenderEmailAddress() const { return Remitente(estado_->Cabeceras()).direccion; }

QString Elemento::To() const { return Destinatarios(estado_->Cabeceras(), GMIME_ADDRESS_TYPE_TO); }

QString Elemento::CC() const { return Destinatarios(estado_->Cabeceras(), GMIME_ADDRESS_TYPE_CC); }

QString Elemento::ConversationID() const {
    GMimeMessage* mensaje = estado_->Cabeceras();
    GMimeObject* objeto = GMIME_OBJECT(mensaje);
    // Outlook's Thread-Index: 6 bytes of time, then the thread's GUID.
    if (const char* indice = g_mime_object_get_header(objeto, "Thread-Index")) {
        const auto decodificado = QByteArray::fromBase64Encoding(
            QByteArray(indice).trimmed(), QByteArray::AbortOnBase64DecodingErrors);
        if (decodificado && decodificado.decoded.size() >= 22)
            return QString::fromLatin1(decodificado.decoded.mid(6, 16).toHex().toUpper());
    }
    QString raiz = PrimeraReferencia(g_mime_object_get_header(objeto, "References"));
    if (raiz.isEmpty()) raiz = PrimeraReferencia(g_mime_object_get_header(objeto, "In-Reply-To"));
    if (raiz.isEmpty()) raiz = QString::fromUtf8(g_mime_message_get_message_id(mensaje));
    if (raiz.trimmed().isEmpty()) raiz = QString::fromLatin1(estado_->unico.toHex());
    return Huella(raiz);
}

QString Elemento::Cabecera(const QString& nombre) const {
    GMimeMessage* mensaje = estado_->Cabeceras();
    const QByteArray clave = nombre.toUtf8();
    const char* valor = g_mime_object_get_header(GMIME_OBJECT(mensaje), clave.constData());
    GMimeObject* cuerpo = g_mime_message_get_mime_part(mensaje);
    if (!valor && cuerpo) valor = g_mime_object_get_header(cuerpo, clave.constData());
    return detail::TextoVisible(valor);
}

QString Elemento::TipoContenido() const {
    return detail::TipoMime(g_mime_message_get_mime_part(estado_->Cabeceras()));
}

int Elemento::BodyFormat() const {
    const detail::Contenido& c = estado_->ContenidoCompleto();
    if (c.html) return 2;
    if (c.plano) return 1;
    return c.rico ? 3 : 0;
}

QString Elemento::Body() const {
    detail::Contenido& c = estado_->ContenidoCompleto();
    if (!c.textoPlano) {
        c.textoPlano = c.plano  ? detail::TextoDeParte(c.plano)
                       : c.html ? HtmlATexto(HTMLBody())
                                : QString();
    }
    return *c.textoPlano;
}

QString Elemento::HTMLBody() const {
    detail::Contenido& c = estado_->ContenidoCompleto();
    if (!c.textoHtml) c.textoHtml = detail::TextoDeParte(c.html);
    return *c.textoHtml;
}

Adjuntos Elemento::Attachments() const { return Adjuntos(estado_->ContenidoCompartido()); }

QString Elemento::Ruta() const { return QFile::decodeName(estado_->ruta); }

}  // namespace platform::mail
