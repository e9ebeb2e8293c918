#pragma once
// A component of the product outside this system; start-up only tells it
// the application folder.
#include <QString>

namespace components {

class Complemento {
public:
    QString CarpetaAplicacion() const { return carpeta_; }
    void SetCarpetaAplicacion(const QString& v) { carpeta_ = v; }

private:
    QString carpeta_;
};

}  // namespace components
