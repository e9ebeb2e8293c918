#include "platform/smtp/ComposicionMime.h"

#include "platform/smtp/Direcciones.h"

// GLib has a struct member called "signals", a keyword macro in Qt; this
// file needs no Qt keywords.
#undef signals
#include "platform/gmime/GObjeto.h"

#include <memory>
#include <mutex>

namespace platform::smtp {

namespace {

using gmime::IniciarGMime;
template <typename T>
using Objeto = gmime::Ref<T>;

// Headers the composition writes itself; an extra header may not replace them.
const char* const CabecerasPropias[] = {
    "From", "To", "Cc", "Bcc", "Subject", "Date", "Message-ID", "MIME-Version",
    "Content-Type", "Content-Transfer-Encoding", "Sender", "Reply-To",
};

QByteArray EnUnaLineaUtf8(const QString& texto) { return EnUnaLinea(texto).trimmed().toUtf8(); }

// The body with one kind of line end; the writer puts CRLF back on each.
QByteArray CuerpoUtf8(const QString& html) {
    QString texto = html;
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return texto.toUtf8();
}

QByteArray Dominio(const QString& direccion) {
    return direccion.mid(direccion.lastIndexOf(QLatin1Char('@')) + 1).toUtf8();
}

void AgregarDireccion(InternetAddressList* lista, const QString& nombre, const QString& direccion) {
    Objeto<InternetAddress> ia(internet_address_mailbox_new(
        EnUnaLineaUtf8(nombre).constData(), direccion.toUtf8().constData()));
    internet_address_set_charset(ia.get(), "UTF-8");
    internet_address_list_add(lista, ia.get());
}

}  // namespace

bool EsNombreCabeceraValido(const QString& nombre) {
    if (nombre.isEmpty()) return false;
    for (const QChar c : nombre)
        if (c.unicode() < 33 || c.unicode() > 126 || c == QLatin1Char(':')) return false;
    for (const char* propia : CabecerasPropias)
        if (nombre.compare(QLatin1String(propia), Qt::CaseInsensitive) == 0) return false;
    return true;
}

QByteArray ComponerMime(const Composicion& c) {
    IniciarGMime();
    Objeto<GMimeMessage> mensaje(g_mime_message_new(TRUE));
    GMimeObject* raiz = GMIME_OBJECT(mensaje.get());

    AgregarDireccion(g_mime_message_get_from(mensaje.get()), c.nombreRemitente, c.direccionRemitente);
    AgregarDireccion(g_mime_message_get_addresses(mensaje.get(), GMIME_ADDRESS_TYPE_TO), QString(),
                     c.destinatario);
    g_mime_message_set_subject(mensaje.get(), EnUnaLineaUtf8(c.asunto).constData(), "UTF-8");

    GDateTime* ahora = g_date_time_new_now_local();
    g_mime_message_set_date(mensaje.get(), ahora);
    g_date_time_unref(ahora);
    char* id = g_mime_utils_generate_message_id(Dominio(c.direccionRemitente).constData());
    g_mime_message_set_message_id(mensaje.get(), id);
    g_free(id);

    for (const auto& [nombre, valor] : c.cabeceras)
        g_mime_object_append_header(raiz, nombre.toLatin1().constData(),
                                    EnUnaLineaUtf8(valor).constData(), "UTF-8");

    const QByteArray cuerpo = CuerpoUtf8(c.html);
    Objeto<GMimeStream> flujo(g_mime_stream_mem_new_with_buffer(cuerpo.constData(), cuerpo.size()));
    Objeto<GMimeDataWrapper> contenido(
        g_mime_data_wrapper_new_with_stream(flujo.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    Objeto<GMimeTextPart> parte(g_mime_text_part_new_with_subtype("html"));
    g_mime_part_set_content(GMIME_PART(parte.get()), contenido.get());
    g_mime_object_set_content_type_parameter(GMIME_OBJECT(parte.get()), "charset", "UTF-8");
    g_mime_part_set_content_encoding(GMIME_PART(parte.get()), GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE);
    g_mime_message_set_mime_part(mensaje.get(), GMIME_OBJECT(parte.get()));

    GMimeFormatOptions* formato = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(formato, GMIME_NEWLINE_FORMAT_DOS);
    char* texto = g_mime_object_to_string(raiz, formato);
    g_mime_format_options_free(formato);
    QByteArray resultado(texto);
    g_free(texto);
    return resultado;
}

}  // namespace platform::smtp
