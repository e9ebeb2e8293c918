#include "platform/runtime/Pasos.h"

#include "platform/runtime/Entorno.h"

#include <exception>
#include <new>

namespace platform::runtime {

namespace {

// Thrown by a nested runner to leave the enclosing procedure.
struct SalirProcedimiento {};

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
        } catch (const ProgramaFinalizado&) {
            throw;
        } catch (...) {
            error = ErrorDesdeExcepcion();
        }
        const Accion accion = manejador ? manejador(error) : Accion::Salir;
        if (accion != Accion::Reintentar) return accion == Accion::Salir ? Accion::Salir
                                                                         : Accion::Siguiente;
    }
}

}  // namespace

ErrorSistema ErrorDesdeExcepcion() {
    try {
        throw;
    } catch (const ErrorSistema& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return ErrorSistema{7, QStringLiteral("Memoria insuficiente"), {}};
    } catch (const std::exception& e) {
        return ErrorSistema{51, QString::fromLocal8Bit(e.what()), {}};
    } catch (...) {
        return ErrorSistema{51, QStringLiteral("Error interno"), {}};
    }
}

bool EjecutarPasos(const Manejador& manejador, std::initializer_list<Paso> pasos) {
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
    for (const Paso& paso : pasos) {
        if (EjecutarUno(manejador, paso) == Accion::Salir) throw SalirProcedimiento{};
    }
}

Accion AccionPorRespuesta(int respuesta) {
    if (respuesta == 4) return Accion::Reintentar;
    if (respuesta == 5) return Accion::Siguiente;
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
