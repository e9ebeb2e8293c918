#pragma once
// Private to the mail store: one message parsed in full, with its body parts
// and attachments picked out of the part tree.
#include "platform/mail/Mime.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace platform::mail::detail {

struct ParteAdjunta {
    GMimeObject* objeto = nullptr;  // lives as long as the message tree
    int tipo = 1;                    // 1 a file, 5 an attached message
    QString nombre;                  // already a safe, bare file name
    QString contentId;
    std::optional<QByteArray> bytes;  // decoded ahead, when read ahead
};

struct Contenido {
    Ref<GMimeMessage> mensaje;  // null when the file could not be parsed
    GMimePart* plano = nullptr;  // first plain-text body part
    GMimePart* html = nullptr;   // first HTML body part
    bool rico = false;           // enriched text, RTF or TNEF seen
    std::vector<ParteAdjunta> adjuntos;
    std::optional<QString> textoPlano;  // decoded on first use
    std::optional<QString> textoHtml;
};

// Walks the part tree with an explicit stack: nesting in received mail can
// be as deep as the parser allows.
std::shared_ptr<Contenido> AnalizarContenido(Ref<GMimeMessage> mensaje);

// Decoded text of a body part, in its declared charset.
QString TextoDeParte(GMimePart* parte);

// The bytes SaveAsFile writes for an attachment.
QByteArray BytesDeAdjunto(const ParteAdjunta& adjunto);

}  // namespace platform::mail::detail
