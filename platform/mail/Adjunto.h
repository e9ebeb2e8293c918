#pragma once
// One attachment of a mail item, and the collection of them (Outlook's
// Attachment and Attachments).
#include <QString>

#include <memory>

namespace platform::mail {

namespace detail {
struct Contenido;
}

class Adjunto {
public:
    // 1 an attached file (also the inline images of an HTML body), 5 an
    // attached message.
    int Type() const;
    // A bare, safe file name: it can be joined to a folder as it is.
    QString FileName() const;
    // The Content-ID without its angle brackets, "" when there is none.
    QString ContentId() const;
    // Writes the decoded bytes (an attached message as it was received);
    // error 75 when the file cannot be written.
    void SaveAsFile(const QString& ruta) const;

private:
    friend class Adjuntos;
    Adjunto(std::shared_ptr<const detail::Contenido> contenido, int indice);
    std::shared_ptr<const detail::Contenido> contenido_;
    int indice_;
};

class Adjuntos {
public:
    class Iterador {
    public:
        Adjunto operator*() const { return adjuntos_->Item(indice_ + 1); }
        Iterador& operator++() {
            ++indice_;
            return *this;
        }
        bool operator==(const Iterador& otro) const { return indice_ == otro.indice_; }

    private:
        friend class Adjuntos;
        Iterador(const Adjuntos* adjuntos, int indice) : adjuntos_(adjuntos), indice_(indice) {}
        const Adjuntos* adjuntos_;
        int indice_;
    };

    int Count() const;
    // 1-based, as Outlook counts; error 5 outside 1..Count.
    Adjunto Item(int indice) const;
    Iterador begin() const { return Iterador(this, 0); }
    Iterador end() const { return Iterador(this, Count()); }

private:
    friend class Elemento;
    explicit Adjuntos(std::shared_ptr<const detail::Contenido> contenido);
    std::shared_ptr<const detail::Contenido> contenido_;
};

}  // namespace platform::mail
