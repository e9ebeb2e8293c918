#pragma once
// Helpers shared by the tests: temporary folders, scripted prompts, and the
// exception that stands for the program ending.
#include "platform/runtime/Entorno.h"
#include "platform/ui/RespondedorGuionado.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace pruebas {

// FinalizarPrograma throws this in tests.
using ProgramaFinalizado = platform::runtime::ProgramaFinalizado;

// Installs a scripted answerer for the life of the object.
class PromptsGuionados {
public:
    PromptsGuionados();
    ~PromptsGuionados();
    platform::ui::RespondedorGuionado& operator*() { return *guion_; }
    platform::ui::RespondedorGuionado* operator->() { return guion_.get(); }

private:
    std::shared_ptr<platform::ui::RespondedorGuionado> guion_;
    std::shared_ptr<platform::ui::Respondedor> anterior_;
};

// Sets an environment variable for the life of the object.
class VariableEntorno {
public:
    VariableEntorno(const char* nombre, const QString& valor);
    ~VariableEntorno();

private:
    QByteArray nombre_;
    QByteArray anterior_;
    bool habia_;
};

QByteArray LeerArchivo(const QString& ruta);
void EscribirArchivo(const QString& ruta, const QByteArray& contenido);

}  // namespace pruebas

// Readable QString values in test failures.
#include <ostream>
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
