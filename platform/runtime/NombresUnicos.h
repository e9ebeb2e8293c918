#pragma once
// File names that do not repeat within one folder: "a.pdf", "a (2).pdf", …
#include <QHash>
#include <QSet>
#include <QString>

namespace platform::runtime {

// The names given so far in one folder, compared without case (the folder
// may be read from a file system that ignores it). The numbering of a name
// goes on from where it stopped, so many files of one name cost linear time.
class NombresUnicos {
public:
    // Names handed out never pass maximoBytes in UTF-8: the stem is shortened
    // so that the number and the extension stay whole.
    explicit NombresUnicos(qsizetype maximoBytes) : maximoBytes_(maximoBytes) {}

    // The name itself when not yet given, else the first free numbered form.
    QString Libre(const QString& nombre);

private:
    qsizetype maximoBytes_;
    QSet<QString> usados_;
    QHash<QString, int> siguiente_;
};

}  // namespace platform::runtime
