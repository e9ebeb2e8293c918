#pragma once
// What the import, the commands and the sender see of the window: the few
// controls and fields they read or write. Form1 implements it; tests use a
// plain implementation of their own.
#include <QString>

#include <cstdint>

namespace reception {

class VistaRecepcion {
public:
    virtual ~VistaRecepcion() = default;

    // CmbCuentas text.
    virtual QString TextoCuentas() const = 0;
    virtual void SetTextoCuentas(const QString& texto) = 0;
    // LblStatus caption, repainted at once.
    virtual QString Estado() const = 0;
    virtual void MostrarEstado(const QString& texto) = 0;
    // Someone can see LblStatus: the window is shown, not minimised, and
    // the program is not running unattended.
    virtual bool EstadoALaVista() const { return true; }
    // PbMail.
    virtual void SetRangoBarra(int minimo, int maximo) = 0;
    virtual void SetValorBarra(int valor) = 0;
    virtual int MaximoBarra() const = 0;
    virtual int ValorBarra() const = 0;
    // ChkHabilitar marked ("Deshabilitar"): the timer's work is off.
    virtual bool Deshabilitado() const = 0;
    // Window fields: true is -1, false 0.
    virtual std::int16_t& CancelarRecepcion() = 0;
    virtual QString CarpetaAdjuntos() const = 0;
    // The mouse pointer back to normal after a send.
    virtual void RestablecerPuntero() {}
    // An import starts or ends: "Recibir" is not offered while one runs.
    virtual void MarcarImportando(bool) {}
};

}  // namespace reception
