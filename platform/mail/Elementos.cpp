#include "platform/mail/Elementos.h"

#include "platform/mail/EstadoElemento.h"
#include "platform/runtime/ErrorSistema.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace platform::mail {

namespace detail {

// About a hundred bytes per file: its name and where the unique part ends.
struct Entrada {
    QByteArray nombre;
    quint16 largoUnico;
    bool enNew;
};

struct Listado {
    QByteArray carpeta;
    std::vector<Entrada> entradas;
    QStringList omitidos;
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

void Listar(const QByteArray& carpeta, bool enNew, std::vector<detail::Entrada>& entradas,
            QStringList& omitidos) {
    const QByteArray dir = carpeta + (enNew ? "/new" : "/cur");
    DIR* d = ::opendir(dir.constData());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        // Names starting with a dot are not messages in a Maildir.
        if (e->d_name[0] == '.') continue;
        if (!EsArchivo(dir, e)) {
            omitidos << QFile::decodeName(dir + '/' + e->d_name);
            continue;
        }
        QByteArray nombre(e->d_name);
        const auto largo = quint16(detail::LargoNombreUnico(nombre));
        entradas.push_back({std::move(nombre), largo, enNew});
    }
    ::closedir(d);
}

}  // namespace

Elementos::Elementos(const QString& carpeta) {
    auto listado = std::make_shared<detail::Listado>();
    listado->carpeta = QFile::encodeName(carpeta);
    while (listado->carpeta.size() > 1 && listado->carpeta.endsWith('/'))
        listado->carpeta.chop(1);
    Listar(listado->carpeta, false, listado->entradas, listado->omitidos);
    Listar(listado->carpeta, true, listado->entradas, listado->omitidos);
    auto& e = listado->entradas;
    std::sort(e.begin(), e.end(), [](const detail::Entrada& a, const detail::Entrada& b) {
        const std::string_view ua(a.nombre.constData(), a.largoUnico);
        const std::string_view ub(b.nombre.constData(), b.largoUnico);
        if (ua != ub) return ua < ub;
        if (a.enNew != b.enNew) return b.enNew;
        return a.nombre < b.nombre;
    });
    e.shrink_to_fit();
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
    return Elemento(std::make_shared<detail::EstadoElemento>(listado_->carpeta, e.nombre,
                                                             e.largoUnico, e.enNew));
}

}  // namespace platform::mail
