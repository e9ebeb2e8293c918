#include "platform/mail/Contenido.h"

#include "platform/mail/NombreSeguro.h"
#include "platform/runtime/NombresUnicos.h"


namespace platform::mail::detail {

namespace {

struct Pendiente {
    GMimeObject* objeto;
    bool relacionadaNoRaiz;  // a part of multipart/related other than its root
    bool firma;              // the second part of multipart/signed
};

bool Es(const QString& tipo, std::initializer_list<const char*> tipos) {
    for (const char* t : tipos)
        if (tipo == QLatin1String(t)) return true;
    return false;
}

QString SinAngulos(const char* id) {
    QString texto = TextoVisible(id).trimmed();
    if (texto.startsWith(u'<')) texto.remove(0, 1);
    if (texto.endsWith(u'>')) texto.chop(1);
    return texto;
}

// The root of multipart/related is the part named by "start", else the first.
int RaizRelacionada(GMimeMultipart* multiparte, int cuenta) {
    const QString inicio = SinAngulos(
        g_mime_object_get_content_type_parameter(GMIME_OBJECT(multiparte), "start"));
    if (inicio.isEmpty()) return 0;
    for (int i = 0; i < cuenta; ++i) {
        GMimeObject* hija = g_mime_multipart_get_part(multiparte, i);
        if (SinAngulos(g_mime_object_get_content_id(hija)) == inicio) return i;
    }
    return 0;
}

QString NombreDesdeContentId(const QString& contentId, const QString& tipo) {
    QString base = contentId.section(u'@', 0, 0);
    if (base.isEmpty()) base = QStringLiteral("adjunto");
    if (!base.contains(u'.')) base += ExtensionDeTipo(tipo);
    return base;
}

// Two attachments of one message never share a file name on disk.
constexpr qsizetype MaximoBytesNombre = 200;
using Usados = platform::runtime::NombresUnicos;

void ClasificarHoja(Contenido& c, const Pendiente& p, Usados& usados) {
    GMimePart* parte = GMIME_PART(p.objeto);
    const QString tipo = TipoMime(p.objeto);
    // Raw, so that control characters are dropped from the name, not blanked.
    const QString nombre = QString::fromUtf8(g_mime_part_get_filename(parte));
    const QString disposicion = TextoVisible(g_mime_object_get_disposition(p.objeto));
    const QString contentId = SinAngulos(g_mime_object_get_content_id(p.objeto));
    const bool adjunta = !nombre.trimmed().isEmpty() ||
                         disposicion.compare(QLatin1String("attachment"), Qt::CaseInsensitive) == 0 ||
                         (p.relacionadaNoRaiz && !contentId.isEmpty());
    if (Es(tipo, {"application/ms-tnef", "application/vnd.ms-tnef"})) c.rico = true;
    if (!adjunta) {
        if (tipo == QLatin1String("text/plain")) {
            if (!c.plano) c.plano = parte;
            return;
        }
        if (tipo == QLatin1String("text/html")) {
            if (!c.html) c.html = parte;
            return;
        }
        if (Es(tipo, {"text/enriched", "text/richtext", "text/rtf", "application/rtf"})) {
            c.rico = true;
            return;
        }
        // Signatures and the control part of encrypted mail are not content.
        if (Es(tipo, {"application/pgp-encrypted"}) ||
            (p.firma && Es(tipo, {"application/pgp-signature", "application/pkcs7-signature",
                                  "application/x-pkcs7-signature"})))
            return;
    }
    QString propuesto = nombre.trimmed();
    if (propuesto.isEmpty())
        propuesto = contentId.isEmpty() ? QStringLiteral("adjunto") + ExtensionDeTipo(tipo)
                                        : NombreDesdeContentId(contentId, tipo);
    c.adjuntos.push_back(
        {p.objeto, 1, usados.Libre(NombreArchivoSeguro(propuesto)), contentId});
}

void AnotarMensaje(Contenido& c, GMimeObject* objeto, Usados& usados) {
    GMimeMessage* interior = g_mime_message_part_get_message(GMIME_MESSAGE_PART(objeto));
    QString asunto = interior ? TextoVisible(g_mime_message_get_subject(interior)).trimmed()
                              : QString();
    // A subject is not a path: its slashes stay in the name.
    asunto.replace(u'/', u'_').replace(u'\\', u'_');
    if (asunto.isEmpty()) asunto = QStringLiteral("mensaje");
    const QString contentId = SinAngulos(g_mime_object_get_content_id(objeto));
    c.adjuntos.push_back(
        {objeto, 5, usados.Libre(NombreArchivoSeguro(asunto + QStringLiteral(".eml"))),
         contentId});
}

}  // namespace

std::shared_ptr<Contenido> AnalizarContenido(Ref<GMimeMessage> mensaje) {
    auto c = std::make_shared<Contenido>();
    c->mensaje = std::move(mensaje);
    if (!c->mensaje) return c;
    Usados usados(MaximoBytesNombre);
    std::vector<Pendiente> pila;
    if (GMimeObject* raiz = g_mime_message_get_mime_part(c->mensaje.get()))
        pila.push_back({raiz, false, false});
    while (!pila.empty()) {
        const Pendiente p = pila.back();
        pila.pop_back();
        if (GMIME_IS_MULTIPART(p.objeto)) {
            GMimeMultipart* multiparte = GMIME_MULTIPART(p.objeto);
            const QString tipo = TipoMime(p.objeto);
            const int cuenta = g_mime_multipart_get_count(multiparte);
            const bool relacionada = tipo == QLatin1String("multipart/related");
            const int raiz = relacionada ? RaizRelacionada(multiparte, cuenta) : -1;
            const bool firmada = tipo == QLatin1String("multipart/signed");
            // Pushed in reverse so that parts come out in document order.
            for (int i = cuenta - 1; i >= 0; --i)
                if (GMimeObject* hija = g_mime_multipart_get_part(multiparte, i))
                    pila.push_back({hija, relacionada && i != raiz, firmada && i == 1});
        } else if (GMIME_IS_MESSAGE_PART(p.objeto)) {
            AnotarMensaje(*c, p.objeto, usados);
        } else if (GMIME_IS_PART(p.objeto)) {
            ClasificarHoja(*c, p, usados);
        }
    }
    return c;
}

QString TextoDeParte(GMimePart* parte) {
    if (!parte) return {};
    return DecodificarTexto(
        BytesDeParte(parte),
        g_mime_object_get_content_type_parameter(GMIME_OBJECT(parte), "charset"));
}

QByteArray BytesDeAdjunto(const ParteAdjunta& adjunto) {
    if (adjunto.bytes) return *adjunto.bytes;
    if (adjunto.tipo == 1) return BytesDeParte(GMIME_PART(adjunto.objeto));
    GMimeMessage* interior = g_mime_message_part_get_message(GMIME_MESSAGE_PART(adjunto.objeto));
    if (!interior) return {};
    Ref<GMimeStream> memoria(g_mime_stream_mem_new());
    g_mime_object_write_to_stream(GMIME_OBJECT(interior), nullptr, memoria.get());
    GByteArray* datos = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memoria.get()));
    return QByteArray(reinterpret_cast<const char*>(datos->data), qsizetype(datos->len));
}

}  // namespace platform::mail::detail
