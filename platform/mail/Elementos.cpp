#include "platform/mail/Elementos.h"

#include "platform/mail/EstadoElemento.h"
#include "platform/runtime/ErrorSistema.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace platform::mail {

namespace detail {

// A file of the listing: where its name lies in the listing's one buffer
// (no allocation per file), and where the unique part ends.
struct Entrada {
    quint32 desde;
    quint16 largo;
    quint16 largoUnico;
    bool enNew;
};

struct Listado {
    QByteArray carpeta;
    QByteArray nombres;  // every name, each closed by a NUL
    std::vector<Entrada> entradas;
    QStringList omitidos;

    const char* Nombre(const Entrada& e) const { return nombres.constData() + e.desde; }
    std::string_view Vista(const Entrada& e, qsizetype largo) const { return {Nombre(e), size_t(largo)}; }
};

}  // namespace detail

namespace {

// Regular files only: a link is never followed (it could point anywhere on
// the machine), and folders, fifos and devices are not messages.
bool EsArchivo(const QByteArray& dir, const dirent* e) {
    if (e->d_type == DT_REG) return true;
    if (e->d_type != DT_UNKNOWN) return false;
    struct stat datos{};
    const QByteArray ruta = dir + '/' + e->d_name;
    return ::lstat(ruta.constData(), &datos) == 0 && S_ISREG(datos.st_mode);
}

void Listar(detail::Listado& listado, bool enNew) {
    const QByteArray dir = listado.carpeta + (enNew ? "/new" : "/cur");
    DIR* d = ::opendir(dir.constData());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        // Names starting with a dot are not messages in a Maildir.
        if (e->d_name[0] == '.') continue;
        if (!EsArchivo(dir, e)) {
            listado.omitidos << QFile::decodeName(dir + '/' + e->d_name);
            continue;
        }
        const QByteArray nombre = QByteArray::fromRawData(e->d_name, qsizetype(std::strlen(e->d_name)));
        const auto desde = quint32(listado.nombres.size());
        listado.nombres.append(nombre).append('\0');
        listado.entradas.push_back(
            {desde, quint16(nombre.size()), quint16(detail::LargoNombreUnico(nombre)), enNew});
    }
    ::closedir(d);
}

}  // namespace

Elementos::Elementos(const QString& carpeta) {
    auto listado = std::make_shared<detail::Listado>();
    listado->carpeta = QFile::encodeName(carpeta);
    while (listado->carpeta.size() > 1 && listado->carpeta.endsWith('/'))
        listado->carpeta.chop(1);
    Listar(*listado, false);
    Listar(*listado, true);
    auto& e = listado->entradas;
    const detail::Listado& l = *listado;
    std::sort(e.begin(), e.end(), [&l](const detail::Entrada& a, const detail::Entrada& b) {
        const std::string_view ua = l.Vista(a, a.largoUnico), ub = l.Vista(b, b.largoUnico);
        if (ua != ub) return ua < ub;
        if (a.enNew != b.enNew) return b.enNew;
        return l.Vista(a, a.largo) < l.Vista(b, b.largo);
    });
    e.shrink_to_fit();
    listado->nombres.squeeze();
    listado_ = std::move(listado);
}

QStringList Elementos::Omitidos() const { return listado_->omitidos; }

int Elementos::Count() const { return int(listado_->entradas.size()); }

Elemento Elementos::Item(int indice) const {
    if (indice < 1 || indice > Count())
        platform::runtime::Lanzar(
            platform::runtime::Err::ArgumentoNoValido,
            QStringLiteral("No hay elemento número %1 (hay %2).").arg(indice).arg(Count()));
    const detail::Entrada& e = listado_->entradas[size_t(indice - 1)];
    return Elemento(std::make_shared<detail::EstadoElemento>(
        listado_->carpeta, QByteArray(listado_->Nombre(e), e.largo), e.largoUnico, e.enNew));
}

namespace detail {

ConsultaArchivos::ConsultaArchivos(const Elementos& elementos) : listado_(elementos.listado_) {
    cur_ = ::open((listado_->carpeta + "/cur").constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    new_ = ::open((listado_->carpeta + "/new").constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

ConsultaArchivos::~ConsultaArchivos() {
    if (cur_ >= 0) ::close(cur_);
    if (new_ >= 0) ::close(new_);
}

bool ConsultaArchivos::Consultar(int indice, DatosArchivo& datos) const {
    if (indice < 1 || indice > int(listado_->entradas.size())) return false;
    const Entrada& e = listado_->entradas[size_t(indice - 1)];
    const int dir = e.enNew ? new_ : cur_;
    struct stat s{};
    if (dir < 0 || ::fstatat(dir, listado_->Nombre(e), &s, AT_SYMLINK_NOFOLLOW) != 0) return false;
    datos = DatosDe(s);
    return true;
}

}  // namespace detail

}  // namespace platform::mail
