#include "platform/runtime/Pasos.h"

#include "platform/runtime/Entorno.h"
#include "platform/runtime/RespuestasOperador.h"

#include <exception>
#include <new>
#include <vector>

namespace platform::runtime {

// One runner under way: a procedure, a loop body or a block, with the
// handler its steps answer to. The innermost is the current one.
struct NivelPasos {
    enum class Marco { Procedimiento, Cuerpo, Bloque };
    const Manejador& manejador;
    Marco marco;
    NivelPasos* exterior;
};

namespace {

using Marco = NivelPasos::Marco;

thread_local NivelPasos* actual = nullptr;

// Thrown to leave the procedure, and to go on with the loop's next item.
struct SalirProcedimiento {};
struct SaltarElemento {};

class Entrar {
public:
    Entrar(const Manejador& manejador, Marco marco) : nivel_{manejador, marco, actual} {
        actual = &nivel_;
    }
    ~Entrar() { actual = nivel_.exterior; }
    Entrar(const Entrar&) = delete;
    Entrar& operator=(const Entrar&) = delete;

private:
    NivelPasos nivel_;
};

void ExigirRunner(const char* movimiento) {
    if (!actual) Lanzar(Err::ArgumentoNoValido, {}, QString::fromLatin1(movimiento));
}

// Runs one step; returns the action to take after it.
Accion EjecutarUno(const Manejador& manejador, const Paso& paso) {
    for (;;) {
        ErrorSistema error;
        try {
            paso();
            return Accion::Siguiente;
        } catch (const ErrorSistema& e) {
            error = e;
        } catch (const SalirProcedimiento&) {
            throw;
        } catch (const SaltarElemento&) {
            throw;
        } catch (const ProgramaFinalizado&) {
            throw;
        } catch (...) {
            error = ErrorDesdeExcepcion();
        }
        const Accion accion = manejador ? manejador(error) : Accion::Salir;
        if (accion != Accion::Reintentar)
            return accion == Accion::Salir ? Accion::Salir : Accion::Siguiente;
    }
}

// The steps of a loop body or a block: leaving unwinds to the procedure.
void EjecutarDentro(const Manejador& manejador, Marco marco, const Paso* desde, const Paso* hasta) {
    const Entrar entrar(manejador, marco);
    for (const Paso* paso = desde; paso != hasta; ++paso) {
        if (EjecutarUno(manejador, *paso) == Accion::Salir) throw SalirProcedimiento{};
    }
}

}  // namespace

ErrorSistema ErrorDesdeExcepcion() {
    try {
        throw;
    } catch (const ErrorSistema& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return ErrorSistema{Err::MemoriaInsuficiente, DescripcionError(Err::MemoriaInsuficiente), {}};
    } catch (const std::exception& e) {
        return ErrorSistema{Err::ErrorInterno, QString::fromLocal8Bit(e.what()), {}};
    } catch (...) {
        return ErrorSistema{Err::ErrorInterno, DescripcionError(Err::ErrorInterno), {}};
    }
}

bool EjecutarPasos(const Manejador& manejador, std::initializer_list<Paso> pasos) {
    const Entrar entrar(manejador, Marco::Procedimiento);
    try {
        for (const Paso& paso : pasos) {
            if (EjecutarUno(manejador, paso) == Accion::Salir) return false;
        }
    } catch (const SalirProcedimiento&) {
        return false;
    }
    return true;
}

void EjecutarPasosAnidados(const Manejador& manejador, std::initializer_list<Paso> pasos) {
    EjecutarPasosAnidados(manejador, std::span<const Paso>(pasos.begin(), pasos.size()));
}

void EjecutarPasosAnidados(const Manejador& manejador, std::span<const Paso> pasos) {
    ExigirRunner("EjecutarPasosAnidados");
    try {
        EjecutarDentro(manejador, Marco::Cuerpo, pasos.data(), pasos.data() + pasos.size());
    } catch (const SaltarElemento&) {}
}

void SalirDelProcedimiento() {
    ExigirRunner("SalirDelProcedimiento");
    throw SalirProcedimiento{};
}

Paso Si(const bool& condicion, std::initializer_list<Paso> pasos) {
    return [&condicion, pasos = std::vector<Paso>(pasos)] {
        ExigirRunner("Si");
        if (condicion)
            EjecutarDentro(actual->manejador, Marco::Bloque, pasos.data(),
                           pasos.data() + pasos.size());
    };
}

void SiguienteElemento() {
    // Through the blocks to the loop body; a procedure in between (one the
    // body called) has no loop of its own to go on with.
    const NivelPasos* nivel = actual;
    while (nivel && nivel->marco == Marco::Bloque) nivel = nivel->exterior;
    if (!nivel || nivel->marco != Marco::Cuerpo)
        Lanzar(Err::ArgumentoNoValido, {}, QStringLiteral("SiguienteElemento"));
    throw SaltarElemento{};
}

PasosAparte::PasosAparte() : guardado_(actual) { actual = nullptr; }
PasosAparte::~PasosAparte() { actual = guardado_; }

Accion AccionPorRespuesta(int respuesta) {
    if (respuesta == Respuesta::Retry) return Accion::Reintentar;
    if (respuesta == Respuesta::Ignore) return Accion::Siguiente;
    return Accion::Salir;
}

Manejador PreguntarOperador(std::function<int(const ErrorSistema&)> preguntar) {
    return [preguntar = std::move(preguntar)](const ErrorSistema& e) {
        return AccionPorRespuesta(preguntar(e));
    };
}

Manejador IgnorarErrores() {
    return [](const ErrorSistema&) { return Accion::Siguiente; };
}

Manejador ReglaInicio() {
    return [](const ErrorSistema& e) {
        return e.Numero == Err::ArgumentoNoValido ? Accion::Siguiente : Accion::Salir;
    };
}

}  // namespace platform::runtime
