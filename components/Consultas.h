#pragma once
// The lookup component: it is told the engine, a switch and where its
// catalogue file is; the catalogue itself is written by start-up.
#include <QString>

namespace components {

class Consultas {
public:
    QString Motor() const { return motor_; }
    void SetMotor(const QString& v) { motor_ = v; }
    bool Activo() const { return activo_; }
    void SetActivo(bool v) { activo_ = v; }
    QString RutaCatalogo() const { return ruta_; }
    void SetRutaCatalogo(const QString& v) { ruta_ = v; }

private:
    QString motor_;
    bool activo_ = false;
    QString ruta_;
};

}  // namespace components
