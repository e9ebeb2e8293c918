#pragma once
// A window stand-in: every field the import, the commands and the sender
// touch, kept in plain members the test reads and sets.
#include "reception/VistaRecepcion.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace pruebas {

class VistaPrueba : public reception::VistaRecepcion {
public:
    QString cuentas;
    QString estado = QStringLiteral("...");
    QStringList estados;  // every status shown, in order
    int minimo = 0, maximo = 100, valor = 0;
    bool deshabilitado = false;
    std::int16_t cancelar = 0;
    QString adjuntos;
    int punteros = 0;  // pointer resets
    bool aLaVista = true;                       // someone can see the label
    std::function<void(const QString&)> alMostrar;  // called on each status shown

    QString TextoCuentas() const override { return cuentas; }
    void SetTextoCuentas(const QString& t) override { cuentas = t; }
    QString Estado() const override { return estado; }
    void MostrarEstado(const QString& t) override {
        estado = t;
        estados << t;
        if (alMostrar) alMostrar(t);
    }
    bool EstadoALaVista() const override { return aLaVista; }
    void SetRangoBarra(int a, int b) override {
        minimo = a;
        maximo = b;
    }
    void SetValorBarra(int v) override { valor = v; }
    int MaximoBarra() const override { return maximo; }
    int ValorBarra() const override { return valor; }
    bool Deshabilitado() const override { return deshabilitado; }
    std::int16_t& CancelarRecepcion() override { return cancelar; }
    QString CarpetaAdjuntos() const override { return adjuntos; }
    void RestablecerPuntero() override { ++punteros; }
};

}  // namespace pruebas
