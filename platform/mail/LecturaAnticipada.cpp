#include "platform/mail/LecturaAnticipada.h"

#include "platform/mail/EstadoElemento.h"

#include <algorithm>
#include <atomic>

namespace platform::mail {

namespace {
// What an item costs beyond its bytes: its state and the parsed tree.
constexpr qint64 CostoFijo = 1024;
constexpr int LoteSinLeer = 32;
constexpr int SaltoAdelante = 64;
}  // namespace

LimitesLectura& LimitesLecturaAnticipada() {
    static LimitesLectura limites;
    return limites;
}

// One slot per item: written once by the stats thread, then marked ready.
struct LecturaAnticipada::Adelanto {
    struct Datos {
        detail::DatosArchivo datos;
        std::atomic<bool> listo{false};
    };
    explicit Adelanto(int total) : datos(new Datos[size_t(std::max(total, 0))]) {}
    std::unique_ptr<Datos[]> datos;
    std::atomic<int> indiceTrabajo{0};  // the item the reading thread is at
    std::atomic<bool> parar{false};
};

LecturaAnticipada::LecturaAnticipada(const Elementos& elementos, Decision decidir,
                                     LimitesLectura limites)
    : elementos_(elementos), decidir_(std::move(decidir)), limites_(limites),
      adelanto_(std::make_unique<Adelanto>(elementos.Count())) {
    // GMime's one initialisation happens here, before a second thread uses it.
    detail::OpcionesAnalisis();
    hiloDatos_ = std::thread([this] { ConsultarArchivos(); });
    hilo_ = std::thread([this] { Trabajar(); });
}

LecturaAnticipada::~LecturaAnticipada() {
    adelanto_->parar = true;
    {
        const std::lock_guard l(m_);
        parar_ = true;
    }
    sitio_.notify_all();
    hilo_.join();
    hiloDatos_.join();
}

void LecturaAnticipada::ConsultarArchivos() {
    const detail::ConsultaArchivos consulta(elementos_);
    const int total = elementos_.Count();
    for (int i = 1; i <= total && !adelanto_->parar.load(std::memory_order_relaxed); ++i) {
        // Caught up by the reading thread: what it has passed it has looked up
        // itself, so jump ahead and share the lookups instead of racing it for each.
        const int trabajo = adelanto_->indiceTrabajo.load(std::memory_order_relaxed);
        if (i <= trabajo) i = trabajo + SaltoAdelante;
        if (i > total) break;
        Adelanto::Datos& d = adelanto_->datos[size_t(i - 1)];
        if (consulta.Consultar(i, d.datos)) d.listo.store(true, std::memory_order_release);
    }
}

void LecturaAnticipada::Trabajar() {
    const int total = elementos_.Count();
    std::vector<Elemento> liberar;
    for (int i = 1; i <= total; ++i) {
        liberar.clear();
        adelanto_->indiceTrabajo.store(i, std::memory_order_relaxed);
        Elemento elemento = elementos_.Item(i);
        detail::EstadoElemento& estado = *elemento.estado_;
        const Adelanto::Datos& adelantado = adelanto_->datos[size_t(i - 1)];
        if (adelantado.listo.load(std::memory_order_acquire)) estado.FijarDatos(adelantado.datos);
        Lectura lectura = Lectura::Nada;
        try {
            lectura = decidir_(elemento);
        } catch (...) {}
        qint64 costo = CostoFijo;
        // The bytes read, and the decoded body and attachments up to twice as many.
        if (lectura == Lectura::Completa) costo += 3 * estado.Datos().tamano;
        if (lectura == Lectura::Asunto) costo += std::min<qint64>(estado.Datos().tamano, 8192);
        {
            std::unique_lock l(m_);
            // Each side wakes the other only when it waits: no system call per item.
            const auto hay = [&] {
                return parar_ || (int(cola_.size()) < limites_.elementos &&
                                  (retenido_ == 0 || retenido_ + costo <= limites_.bytes));
            };
            while (!hay()) {
                esperaSitio_ = true;
                if (esperaListo_) listo_.notify_one();
                sitio_.wait(l);
            }
            esperaSitio_ = false;
            if (parar_) return;
            liberar.swap(devueltos_);
            retenido_ += costo;
            maximoRetenido_ = std::max(maximoRetenido_, retenido_);
        }
        try {
            if (lectura == Lectura::Completa) estado.Cargar();
            if (lectura == Lectura::Asunto) estado.LeerBloque();
        } catch (...) {
            // Out of memory for one message: the import meets it again itself.
        }
        bool despertar;
        {
            const std::lock_guard l(m_);
            cola_.push_back({std::move(elemento), costo});
            // Items not read cost next to nothing: the import is woken for a batch of them.
            despertar =
                esperaListo_ && (lectura != Lectura::Nada || int(cola_.size()) >= LoteSinLeer);
        }
        if (despertar) listo_.notify_one();
    }
    {
        const std::lock_guard l(m_);
        terminado_ = true;
    }
    listo_.notify_one();
}

void LecturaAnticipada::Devolver(Elemento&& elemento) {
    {
        const std::lock_guard l(m_);
        if (!terminado_) {
            devueltos_.push_back(std::move(elemento));
            return;
        }
    }
    // The thread has ended: the caller frees it, as without reading ahead.
}

std::optional<Elemento> LecturaAnticipada::Siguiente() {
    std::unique_lock l(m_);
    while (cola_.empty() && !terminado_) {
        esperaListo_ = true;
        listo_.wait(l);
    }
    esperaListo_ = false;
    if (cola_.empty()) return std::nullopt;
    Listo listo = std::move(cola_.front());
    cola_.pop_front();
    retenido_ -= listo.costo;
    // The thread goes on once half the room is free, not for every item taken.
    const bool despertar = esperaSitio_ && int(cola_.size()) <= limites_.elementos / 2 &&
                           retenido_ <= limites_.bytes / 2;
    l.unlock();
    if (despertar) sitio_.notify_one();
    return std::move(listo.elemento);
}

qint64 LecturaAnticipada::MaximoRetenido() const {
    const std::lock_guard l(m_);
    return maximoRetenido_;
}

}  // namespace platform::mail
