#pragma once
// The items of one mail folder (Outlook's Items): the files in its cur/ and
// new/ folders, ordered by their Maildir unique name. Listing keeps only
// the file names; an item reads its file when a property asks for it.
#include "platform/mail/Elemento.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace platform::mail {

namespace detail {
struct Listado;
struct DatosArchivo;
class ConsultaArchivos;
}  // namespace detail

class Elementos {
public:
    class Iterador {
    public:
        Elemento operator*() const { return elementos_->Item(indice_ + 1); }
        Iterador& operator++() {
            ++indice_;
            return *this;
        }
        bool operator==(const Iterador& otro) const { return indice_ == otro.indice_; }

    private:
        friend class Elementos;
        Iterador(const Elementos* elementos, int indice) : elementos_(elementos), indice_(indice) {}
        const Elementos* elementos_;
        int indice_;
    };

    // Lists the Maildir folder at that path; a folder without cur/ or new/
    // simply has no items there.
    explicit Elementos(const QString& carpeta);

    int Count() const;
    // What cur/ and new/ hold that is not a regular file (links, folders,
    // fifos): not items, never opened. Full paths.
    QStringList Omitidos() const;
    // 1-based, as Outlook counts; error 5 outside 1..Count.
    Elemento Item(int indice) const;
    Iterador begin() const { return Iterador(this, 0); }
    Iterador end() const { return Iterador(this, Count()); }

private:
    friend class detail::ConsultaArchivos;
    std::shared_ptr<const detail::Listado> listado_;
};

namespace detail {

// The stat of listed files by their number, for a thread that runs ahead of
// the items: cur/ and new/ are opened once and each name looked up in them.
class ConsultaArchivos {
public:
    explicit ConsultaArchivos(const Elementos& elementos);
    ~ConsultaArchivos();
    ConsultaArchivos(const ConsultaArchivos&) = delete;
    ConsultaArchivos& operator=(const ConsultaArchivos&) = delete;

    // 1-based. False when the file is no longer where it was listed: the
    // item then looks for it itself.
    bool Consultar(int indice, DatosArchivo& datos) const;

private:
    std::shared_ptr<const Listado> listado_;
    int cur_ = -1;
    int new_ = -1;
};

}  // namespace detail

}  // namespace platform::mail
