#pragma once
// The entry identifiers already stored for one account, read with one query
// when an import starts: a message met again costs one lookup in memory, not
// a query. Read-only once built, so the reading-ahead thread may ask it too.
#include <QString>

#include <vector>

namespace reception {

class EntradasConocidas {
public:
    // Reads the UIDL of every row of the account (CuentaEmail). When the
    // query fails the set stays empty and every message is asked about.
    void Leer(const QString& cuenta);

    // True when the account has a row with that identifier. False says
    // nothing: the row may belong to another account or be newer than the set.
    bool Contiene(const QString& entrada) const;

    qsizetype Cuantas() const { return qsizetype(entradas_.size()); }

private:
    std::vector<QString> entradas_;  // sorted; shared with the rows read, not copied
};

}  // namespace reception
