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
}

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
    std::shared_ptr<const detail::Listado> listado_;
};

}  // namespace platform::mail
