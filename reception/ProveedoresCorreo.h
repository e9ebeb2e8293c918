#pragma once
// The SMTP server, port and SSL for the provider chosen in the user's mail
// settings (eMail_Server).
#include <QString>

namespace reception {

// The public providers' SMTP hosts.
inline constexpr char ServidorHotmail[] = "smtp-mail.outlook.com";
inline constexpr char ServidorGmail[] = "smtp.gmail.com";

struct ProveedorSmtp {
    QString servidor;
    QString puerto;  // text, as the configuration field takes it
    bool ssl = false;
};

// eleccion: "Hotmail", "Gmail" or "Otro", in any case; anything else gives
// an empty server and port. servidorOtro: the host for "Otro", which may
// end in ":puerto" to replace the usual 25.
ProveedorSmtp ElegirProveedor(const QString& eleccion, const QString& servidorOtro);

}  // namespace reception
