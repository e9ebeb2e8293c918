#pragma once
// What the mail store and the sender share of GMime: its one initialisation
// and the owner of a GObject reference.
// Qt's "signals" keyword would clash with a GLib member of that name.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")

#include <mutex>
#include <utility>

namespace platform::gmime {

// Initialises the library once per process, whoever needs it first.
inline void IniciarGMime() {
    static std::once_flag una;
    std::call_once(una, [] { g_mime_init(); });
}

// Holds one GObject reference and drops it on destruction.
template <typename T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* p) : p_(p) {}
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Ref& operator=(Ref&& o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~Ref() {
        if (p_) g_object_unref(p_);
    }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

}  // namespace platform::gmime
