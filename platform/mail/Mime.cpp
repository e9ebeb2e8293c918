#include "platform/mail/Mime.h"

#include "platform/runtime/Texto.h"
#include <QStringDecoder>

#include <mutex>
#include <vector>

namespace platform::mail::detail {

namespace {

// Runs bytes through GMime's charset filter; null when the charset is unknown.
// Bytes that are invalid in the charset are skipped by the filter.
bool Convertir(const QByteArray& bytes, const char* desde, QByteArray& utf8) {
    GMimeFilter* filtro = g_mime_filter_charset_new(desde, "UTF-8");
    if (!filtro) return false;
    Ref<GMimeStream> memoria(g_mime_stream_mem_new());
    Ref<GMimeStream> filtrado(g_mime_stream_filter_new(memoria.get()));
    g_mime_stream_filter_add(GMIME_STREAM_FILTER(filtrado.get()), filtro);
    g_object_unref(filtro);
    g_mime_stream_write(filtrado.get(), bytes.constData(), size_t(bytes.size()));
    g_mime_stream_flush(filtrado.get());
    GByteArray* salida = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memoria.get()));
    utf8 = QByteArray(reinterpret_cast<const char*>(salida->data), qsizetype(salida->len));
    return true;
}

bool EsControl(char16_t c) { return platform::runtime::EsControl(QChar(c)); }

// NUL and the other control characters never reach the database; line
// breaks, tabs and form feeds are part of a text body.
QString SinControles(QString texto) {
    for (QChar& c : texto) {
        const char16_t u = c.unicode();
        if (EsControl(u) && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f') c = u' ';
    }
    return texto;
}

// RFC 2045 reads "text" without a subtype as text/plain; GMime makes it
// application/octet-stream and drops its parameters (the charset with them).
void TextoSinSubtipo(GMimeObject* objeto) {
    const QByteArray valor = QByteArray(g_mime_object_get_header(objeto, "Content-Type")).trimmed();
    const qsizetype fin = valor.indexOf(';');
    if (valor.left(fin < 0 ? valor.size() : fin).trimmed().compare("text", Qt::CaseInsensitive) != 0) return;
    const QByteArray arreglado = "text/plain" + (fin < 0 ? QByteArray() : valor.mid(fin));
    Ref<GMimeContentType> tipo(g_mime_content_type_parse(OpcionesAnalisis(), arreglado.constData()));
    g_mime_object_set_content_type(objeto, tipo.get());
}

// Mends what a tolerant reader reads past; true when a multipart came out
// with no part at all (its boundaries were not found).
bool Revisar(GMimeMessage* mensaje) {
    bool multiparteVacia = false;
    std::vector<GMimeObject*> pila;
    if (GMimeObject* raiz = g_mime_message_get_mime_part(mensaje)) pila.push_back(raiz);
    while (!pila.empty()) {
        GMimeObject* objeto = pila.back();
        pila.pop_back();
        if (GMIME_IS_MULTIPART(objeto)) {
            const int cuenta = g_mime_multipart_get_count(GMIME_MULTIPART(objeto));
            if (cuenta == 0) multiparteVacia = true;
            for (int i = 0; i < cuenta; ++i) pila.push_back(g_mime_multipart_get_part(GMIME_MULTIPART(objeto), i));
        } else if (GMIME_IS_PART(objeto)) {
            TextoSinSubtipo(objeto);
        }
    }
    return multiparteVacia;
}

bool TieneCrSuelto(const GByteArray* datos) {
    for (guint i = 0; i < datos->len; ++i)
        if (datos->data[i] == '\r' && (i + 1 == datos->len || datos->data[i + 1] != '\n')) return true;
    return false;
}

// Bare CR line ends (old Mac mailers) made CRLF, so that boundaries are seen.
GByteArray* ConCrLf(const GByteArray* datos) {
    GByteArray* copia = g_byte_array_sized_new(datos->len + datos->len / 32 + 1);
    for (guint i = 0; i < datos->len; ++i) {
        g_byte_array_append(copia, &datos->data[i], 1);
        if (datos->data[i] == '\r' && (i + 1 == datos->len || datos->data[i + 1] != '\n')) {
            const guint8 lf = '\n';
            g_byte_array_append(copia, &lf, 1);
        }
    }
    return copia;
}

Ref<GMimeMessage> Analizar(GByteArray* datos, Ref<GMimeStream>& flujo) {
    flujo = Ref<GMimeStream>(g_mime_stream_mem_new_with_byte_array(datos));
    Ref<GMimeParser> analizador(g_mime_parser_new_with_stream(flujo.get()));
    return Ref<GMimeMessage>(g_mime_parser_construct_message(analizador.get(), OpcionesAnalisis()));
}

}  // namespace

GMimeParserOptions* OpcionesAnalisis() {
    static GMimeParserOptions* opciones = nullptr;
    static std::once_flag una;
    std::call_once(una, [] {
        gmime::IniciarGMime();
        opciones = g_mime_parser_options_new();
        // Raw 8-bit header text: UTF-8 when valid, else the Windows charset
        // most Spanish mail without labels was written in.
        const char* respaldo[] = {"UTF-8", "windows-1252", nullptr};
        g_mime_parser_options_set_fallback_charsets(opciones, respaldo);
    });
    return opciones;
}

Ref<GMimeMessage> AnalizarMensaje(GByteArray* datos) {
    OpcionesAnalisis();
    Ref<GMimeStream> flujo;
    Ref<GMimeMessage> mensaje = Analizar(datos, flujo);
    if (!mensaje) return {};
    // Read again only when it could not be read as it is: a message that
    // parses is never changed.
    if (Revisar(mensaje.get())) {
        const GByteArray* original = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(flujo.get()));
        if (TieneCrSuelto(original)) {
            Ref<GMimeStream> otro;
            if (Ref<GMimeMessage> releido = Analizar(ConCrLf(original), otro)) {
                Revisar(releido.get());
                mensaje = std::move(releido);
            }
        }
    }
    int cabeceras = g_mime_header_list_get_count(
        g_mime_object_get_header_list(GMIME_OBJECT(mensaje.get())));
    if (GMimeObject* cuerpo = g_mime_message_get_mime_part(mensaje.get()))
        cabeceras += g_mime_header_list_get_count(g_mime_object_get_header_list(cuerpo));
    if (cabeceras == 0) return {};
    return mensaje;
}

Ref<GMimeMessage> AnalizarMensaje(const QByteArray& datos) {
    OpcionesAnalisis();
    GByteArray* copia = g_byte_array_sized_new(guint(datos.size()));
    g_byte_array_append(copia, reinterpret_cast<const guint8*>(datos.constData()),
                        guint(datos.size()));
    return AnalizarMensaje(copia);
}

QString TextoVisible(const char* utf8) {
    if (!utf8) return {};
    QString texto = QString::fromUtf8(utf8);
    for (QChar& c : texto)
        if (EsControl(c.unicode())) c = u' ';
    return texto;
}

QString TipoMime(GMimeObject* objeto) {
    GMimeContentType* tipo = objeto ? g_mime_object_get_content_type(objeto) : nullptr;
    if (!tipo) return QStringLiteral("text/plain");
    char* texto = g_mime_content_type_get_mime_type(tipo);
    QString resultado = QString::fromUtf8(texto).toLower();
    g_free(texto);
    return resultado;
}

QByteArray BytesDeParte(GMimePart* parte) {
    GMimeDataWrapper* contenido = g_mime_part_get_content(parte);
    if (!contenido) return {};
    Ref<GMimeStream> memoria(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(contenido, memoria.get());
    GByteArray* datos = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memoria.get()));
    return QByteArray(reinterpret_cast<const char*>(datos->data), qsizetype(datos->len));
}

QString DecodificarTexto(const QByteArray& bytes, const char* charset) {
    QByteArray nombre = QByteArray(charset ? charset : "").trimmed().toLower();
    // Labels that promise less than they hold are read the way browsers do.
    if (nombre == "iso-8859-1" || nombre == "latin1" || nombre == "iso_8859-1")
        nombre = "windows-1252";
    const bool comoUtf8 = nombre.isEmpty() || nombre == "utf-8" || nombre == "utf8" ||
                          nombre == "us-ascii" || nombre == "ascii";
    QByteArray utf8;
    if (!comoUtf8 && Convertir(bytes, nombre.constData(), utf8))
        return SinControles(QString::fromUtf8(utf8));
    QStringDecoder decodificador(QStringDecoder::Utf8);
    QString texto = decodificador.decode(bytes);
    if (!decodificador.hasError()) return SinControles(texto);
    if (Convertir(bytes, "windows-1252", utf8)) return SinControles(QString::fromUtf8(utf8));
    return SinControles(texto);
}

}  // namespace platform::mail::detail
