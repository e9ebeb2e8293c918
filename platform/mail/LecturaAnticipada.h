#pragma once
// Reads and parses the next items of a folder on a thread of its own while
// the import works on the current one, so that both cores are busy. The
// items come out in the folder's order, each already read as far as it was
// asked to be; anything not read ahead is read when a property asks, as
// without this. The thread touches only the items it has not handed out.
#include "platform/mail/Elementos.h"

#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace platform::mail {

// How far ahead the reading may go: in bytes of mail (one message larger
// than that is still read, alone) and in items.
struct LimitesLectura {
    qint64 bytes = 8 << 20;
    int elementos = 256;
};

// The limits every reading ahead starts with; tests make them small.
LimitesLectura& LimitesLecturaAnticipada();

enum class Lectura {
    Nada,      // nothing opened: the item is not wanted
    Asunto,    // the header block, for the subject shown
    Completa,  // the whole message parsed and its body decoded
};

class LecturaAnticipada {
public:
    // Runs on the reading thread, for each item before it is read: it may
    // ask the item only for its EntryID and ReceivedTime, and read nothing
    // that the caller changes meanwhile. What it raises counts as Nada.
    using Decision = std::function<Lectura(const Elemento&)>;

    LecturaAnticipada(const Elementos& elementos, Decision decidir,
                      LimitesLectura limites = LimitesLecturaAnticipada());
    // Stops the thread: at most the message it is reading is finished.
    ~LecturaAnticipada();
    LecturaAnticipada(const LecturaAnticipada&) = delete;
    LecturaAnticipada& operator=(const LecturaAnticipada&) = delete;

    // The next item in order, waiting for it if need be; none at the end.
    std::optional<Elemento> Siguiente();

    // Gives back an item the import is done with: freeing a parsed message
    // is work too, and the thread does it. Nothing else may hold it.
    void Devolver(Elemento&& elemento);

    // The most bytes held at once, read ahead or being read.
    qint64 MaximoRetenido() const;

private:
    struct Listo {
        Elemento elemento;
        qint64 costo;
    };
    struct Adelanto;
    void Trabajar();
    void ConsultarArchivos();

    const Elementos elementos_;
    const Decision decidir_;
    const LimitesLectura limites_;
    mutable std::mutex m_;
    std::condition_variable listo_;  // an item is ready, or the thread ended
    std::condition_variable sitio_;  // room freed, or stop
    std::deque<Listo> cola_;
    std::vector<Elemento> devueltos_;
    qint64 retenido_ = 0;
    qint64 maximoRetenido_ = 0;
    bool terminado_ = false;
    bool esperaListo_ = false;  // the import waits for an item
    bool esperaSitio_ = false;  // the thread waits for room
    bool parar_ = false;
    // The files' stats, taken by a second thread ahead of the first: a
    // known message costs nothing else, so the stats would set the pace.
    std::unique_ptr<Adelanto> adelanto_;
    std::thread hiloDatos_;
    std::thread hilo_;  // last: started once everything above is in place
};

}  // namespace platform::mail
