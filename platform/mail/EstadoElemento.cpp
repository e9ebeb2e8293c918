#include "platform/mail/EstadoElemento.h"

#include "platform/mail/NombreSeguro.h"
#include "platform/runtime/ErrorSistema.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::mail::detail {

namespace {

// Headers longer than this are cut: nothing legitimate needs more.
constexpr qsizetype MaximoCabeceras = 1 << 20;
constexpr qsizetype Trozo = 8192;

int Abrir(const QByteArray& ruta) {
    int fd;
    // A link put in place after the listing is still not followed, and a fifo
    // does not block; what is read is bounded by the size the listing saw.
    do fd = ::open(ruta.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t LeerTrozo(int fd, char* destino, size_t cuanto) {
    ssize_t n;
    do n = ::read(fd, destino, cuanto);
    while (n < 0 && errno == EINTR);
    return n;
}

// Reads up to cuanto bytes; fewer at the end of the file or on an error.
qsizetype LeerHasta(int fd, char* destino, qsizetype cuanto) {
    qsizetype leido = 0;
    while (leido < cuanto) {
        const ssize_t n = LeerTrozo(fd, destino + leido, size_t(cuanto - leido));
        if (n <= 0) break;
        leido += n;
    }
    return leido;
}

// Where the header block ends (just after its last line break), or -1.
qsizetype FinDeCabeceras(const QByteArray& datos, qsizetype desde) {
    if (datos.startsWith('\n') || datos.startsWith("\r\n")) return 0;
    for (qsizetype i = qMax<qsizetype>(desde, 0); i < datos.size(); ++i) {
        if (datos[i] != '\n') continue;
        if (i + 1 < datos.size() && datos[i + 1] == '\n') return i + 1;
        if (i + 2 < datos.size() && datos[i + 1] == '\r' && datos[i + 2] == '\n') return i + 1;
    }
    return -1;
}

// The header block as GMime is given it: closed by a blank line, so that it
// sees no body; empty when the file has no header block.
QByteArray Cerrar(QByteArray bloque, qsizetype fin) {
    if (fin == 0) return {};
    if (fin > 0) bloque.truncate(fin);
    if (!bloque.endsWith('\n')) bloque += '\n';
    return bloque + '\n';
}

}  // namespace

qsizetype LargoNombreUnico(const QByteArray& nombre) {
    const qsizetype dos = nombre.indexOf(":2,");
    return dos < 0 ? nombre.size() : dos;
}

QByteArray SinCampos(const QByteArray& unico) {
    QByteArray resultado;
    resultado.reserve(unico.size());
    qsizetype i = 0;
    while (i < unico.size()) {
        const bool campo = unico[i] == ',' && i + 2 < unico.size() && unico[i + 2] == '=' &&
                           ((unico[i + 1] >= 'A' && unico[i + 1] <= 'Z') ||
                            (unico[i + 1] >= 'a' && unico[i + 1] <= 'z'));
        if (!campo) {
            resultado += unico[i++];
            continue;
        }
        i += 3;
        while (i < unico.size() && unico[i] != ',') ++i;
    }
    return resultado;
}

EstadoElemento::EstadoElemento(QByteArray carpeta_, QByteArray nombre, qsizetype largoUnico,
                               bool enNew)
    : carpeta(std::move(carpeta_)),
      ruta(carpeta + (enNew ? "/new/" : "/cur/") + nombre),
      unico(nombre.left(largoUnico)) {}

const DatosArchivo& EstadoElemento::Datos() {
    if (datos_.leidos) return datos_;
    datos_.leidos = true;
    // Synchronisers (mbsync with CopyArrivalDate, Dovecot) keep the server's
    // arrival time as the file's modification time; the number in the name is
    // only when the file was written here. The one stat of the file.
    struct stat datos{};
    int r = ::lstat(ruta.constData(), &datos);
    if (r != 0 && errno == ENOENT && Reubicar()) r = ::lstat(ruta.constData(), &datos);
    if (r != 0) return datos_;
    datos_ = DatosDe(datos);
    return datos_;
}

DatosArchivo DatosDe(const struct stat& datos) {
    DatosArchivo d;
    d.leidos = true;
    d.existe = true;
    d.segundos = qint64(datos.st_mtim.tv_sec);
    d.regular = S_ISREG(datos.st_mode);
    d.tamano = qint64(datos.st_size);
    return d;
}

void EstadoElemento::FijarDatos(const DatosArchivo& datos) {
    datos_ = datos;
    datos_.leidos = true;
}

const QString& EstadoElemento::Entrada() {
    if (!entrada_) entrada_ = IdentificadorSeguro(SinCampos(unico));
    return *entrada_;
}

QDateTime EstadoElemento::Recibido() {
    return Datos().existe ? QDateTime::fromSecsSinceEpoch(Datos().segundos) : QDateTime();
}

// A mail client may have moved the file (new/ to cur/, a flag change) since
// the folder was listed: look for the same unique name again.
bool EstadoElemento::Reubicar() {
    for (const char* sub : {"/cur", "/new"}) {
        const QByteArray dir = carpeta + sub;
        DIR* d = ::opendir(dir.constData());
        if (!d) continue;
        bool hallado = false;
        while (dirent* e = ::readdir(d)) {
            const QByteArray nombre(e->d_name);
            if (LargoNombreUnico(nombre) == unico.size() && nombre.startsWith(unico)) {
                ruta = dir + '/' + nombre;
                hallado = true;
                break;
            }
        }
        ::closedir(d);
        if (hallado) return true;
    }
    return false;
}

int EstadoElemento::AbrirArchivo() {
    // Only what was a regular file when it was looked at is opened.
    if (!Datos().regular) return -1;
    int fd = Abrir(ruta);
    if (fd < 0 && errno == ENOENT && Reubicar()) fd = Abrir(ruta);
    return fd;
}

void EstadoElemento::LeerBloque() {
    if (leido_) return;
    leido_ = true;
    const int fd = AbrirArchivo();
    if (fd < 0) return;
    const qsizetype tamano = qsizetype(qMin<qint64>(Datos().tamano, MaximoCabeceras));
    QByteArray bloque;
    qsizetype fin = -1;
    while (fin < 0 && bloque.size() < tamano) {
        const qsizetype antes = bloque.size();
        bloque.resize(qMin(antes + Trozo, tamano));
        const qsizetype n = LeerHasta(fd, bloque.data() + antes, bloque.size() - antes);
        bloque.resize(antes + n);
        if (n == 0) break;
        fin = FinDeCabeceras(bloque, antes - 2);
    }
    ::close(fd);
    bloque_ = Cerrar(std::move(bloque), fin);
}

GByteArray* EstadoElemento::LeerTodo() {
    const int fd = AbrirArchivo();
    if (fd < 0) return nullptr;
    const qsizetype tamano = qsizetype(Datos().tamano);
    GByteArray* todo = g_byte_array_sized_new(guint(tamano + 1));
    g_byte_array_set_size(todo, guint(tamano));
    g_byte_array_set_size(todo, guint(LeerHasta(fd, reinterpret_cast<char*>(todo->data), tamano)));
    ::close(fd);
    return todo;
}

void EstadoElemento::Cargar() {
    if (contenido_ || leidas_) return;
    GByteArray* todo = LeerTodo();
    if (!todo) return;
    // The header block from the same bytes, parsed on its own as when only
    // a header is asked for, so both ways give the same answers.
    const auto* datos = reinterpret_cast<const char*>(todo->data);
    const QByteArray inicio = QByteArray::fromRawData(datos, qMin<qsizetype>(todo->len, MaximoCabeceras));
    const qsizetype fin = FinDeCabeceras(inicio, 0);
    QByteArray bloque = Cerrar(QByteArray(datos, fin > 0 ? fin : inicio.size()), fin);
    Ref<GMimeMessage> cabeceras;
    if (!bloque.isEmpty()) cabeceras = AnalizarMensaje(bloque);
    Ref<GMimeMessage> mensaje;
    if (cabeceras)
        mensaje = AnalizarMensaje(todo);
    else
        g_byte_array_unref(todo);
    std::shared_ptr<Contenido> contenido;
    if (cabeceras) {
        contenido = AnalizarContenido(std::move(mensaje));
        // The body the import stores and the attachments it saves, decoded here too.
        if (contenido->html)
            contenido->textoHtml = TextoDeParte(contenido->html);
        else if (contenido->plano)
            contenido->textoPlano = TextoDeParte(contenido->plano);
        for (ParteAdjunta& adjunto : contenido->adjuntos) adjunto.bytes = BytesDeAdjunto(adjunto);
    }
    leido_ = leidas_ = true;
    bloque_ = std::move(bloque);
    cabeceras_ = std::move(cabeceras);
    contenido_ = std::move(contenido);
}

GMimeMessage* EstadoElemento::Cabeceras() {
    if (!leidas_) {
        leidas_ = true;
        LeerBloque();
        if (!bloque_.isEmpty()) cabeceras_ = AnalizarMensaje(bloque_);
    }
    if (!cabeceras_) NoEsCorreo();
    return cabeceras_.get();
}

std::optional<QString> EstadoElemento::AsuntoSinAnalizar() {
    if (cabeceras_) return std::nullopt;
    LeerBloque();
    const QByteArray& b = bloque_;
    const qsizetype n = b.size();
    qsizetype i = 0, inicio = -1, fin = -1, vistos = 0;
    bool enAsunto = false;
    while (i < n) {
        qsizetype eol = b.indexOf('\n', i);
        if (eol < 0) eol = n;
        const qsizetype largo = eol - i - (eol > i && b[eol - 1] == '\r' ? 1 : 0);
        if (largo == 0) break;  // the blank line that closes the block
        const char c = b[i];
        if (c == ' ' || c == '\t') {
            if (i == 0) return std::nullopt;
            if (enAsunto) fin = eol;
        } else {
            qsizetype dos = i;
            while (dos < i + largo && b[dos] > 32 && b[dos] < 127 && b[dos] != ':') ++dos;
            if (dos == i || dos >= i + largo || b[dos] != ':') return std::nullopt;  // not a header line
            enAsunto = dos - i == 7 && qstrnicmp(b.constData() + i, "subject", 7) == 0;
            if (enAsunto) {
                if (++vistos > 1) return std::nullopt;
                inicio = dos + 1;
                fin = eol;
            }
        }
        i = eol + 1;
    }
    if (vistos != 1) return std::nullopt;
    const QByteArray crudo = b.mid(inicio, fin - inicio);
    char* desplegado = g_mime_utils_header_unfold(crudo.constData());
    char* texto = g_mime_utils_header_decode_text(OpcionesAnalisis(), desplegado);
    QString asunto = TextoVisible(texto);
    g_free(texto);
    g_free(desplegado);
    return asunto;
}

Contenido& EstadoElemento::ContenidoCompleto() {
    Cabeceras();
    if (!contenido_) {
        Ref<GMimeMessage> mensaje;
        if (GByteArray* todo = LeerTodo()) mensaje = AnalizarMensaje(todo);
        contenido_ = AnalizarContenido(std::move(mensaje));
    }
    return *contenido_;
}

std::shared_ptr<const Contenido> EstadoElemento::ContenidoCompartido() {
    ContenidoCompleto();
    return contenido_;
}

void EstadoElemento::NoEsCorreo() const {
    platform::runtime::Lanzar(platform::runtime::Err::NoAdmitido, {},
                              QFile::decodeName(ruta));
}

}  // namespace platform::mail::detail
