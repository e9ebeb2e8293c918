#include "platform/db/Reloj.h"

namespace platform::db {

namespace {

std::function<QDateTime()>& Reloj() {
    static std::function<QDateTime()> reloj;
    return reloj;
}

}  // namespace

QDateTime Ahora() {
    if (Reloj()) return Reloj()();
    return QDateTime::currentDateTime();
}

void EstablecerReloj(std::function<QDateTime()> reloj) { Reloj() = std::move(reloj); }

}  // namespace platform::db
