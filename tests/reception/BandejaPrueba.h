#pragma once
// A small Maildir inbox written by a test, and a window stand-in.
#include "platform/ui/MsgBox.h"
#include "reception/VistaRecepcion.h"

#include <QDateTime>
#include <QDir>
#include <QString>

#include <functional>

namespace pruebas {

class BandejaPrueba {
public:
    // <raiz>/<cuenta>/Bandeja de entrada/{cur,new,tmp}
    BandejaPrueba(const QString& raiz, const QString& cuenta);
    // Writes one message delivered at that time; returns its file path.
    QString Agregar(const QByteArray& mensaje, const QDateTime& entrega, const QString& unico = QString());
    QString Carpeta() const { return carpeta_; }

private:
    QString carpeta_;
    int siguiente_ = 0;
};

// A plain message with the given headers and text body.
QByteArray MensajeTexto(const QString& asunto, const QString& de, const QString& cuerpo,
                        const QByteArray& cabecerasExtra = {});

class VistaPrueba : public reception::VistaRecepcion {
public:
    QString cuentas;
    QString estado = QStringLiteral("...");
    QStringList estados;
    int minimo = 0, maximo = 100, valor = 0;
    bool deshabilitado = false;
    std::int16_t cancelar = 0;
    QString adjuntos;

    QString TextoCuentas() const override { return cuentas; }
    void SetTextoCuentas(const QString& t) override { cuentas = t; }
    QString Estado() const override { return estado; }
    void MostrarEstado(const QString& t) override { estado = t; estados << t; }
    void SetRangoBarra(int a, int b) override { minimo = a; maximo = b; }
    void SetValorBarra(int v) override { valor = v; }
    int MaximoBarra() const override { return maximo; }
    int ValorBarra() const override { return valor; }
    bool Deshabilitado() const override { return deshabilitado; }
    std::int16_t& CancelarRecepcion() override { return cancelar; }
    QString CarpetaAdjuntos() const override { return adjuntos; }
};

// Answers every prompt with OK after running an action, once: the action
// runs while the prompt is open, as a nested event loop would let it.
class PromptConAccion : public platform::ui::Respondedor {
public:
    std::function<void()> accion;
    QList<platform::ui::Pregunta> preguntas;
    int Responder(const platform::ui::Pregunta& p) override {
        preguntas << p;
        if (accion) std::exchange(accion, nullptr)();
        return platform::ui::Respuesta::OK;
    }
};

}  // namespace pruebas
