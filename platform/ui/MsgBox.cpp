#include "platform/ui/MsgBox.h"

#include "platform/runtime/Archivos.h"
#include "platform/runtime/Entorno.h"
#include "platform/ui/RespondedorDesatendido.h"

#include <QList>

namespace platform::ui {

namespace {
std::shared_ptr<Respondedor>& Actual() {
    static std::shared_ptr<Respondedor> r;
    return r;
}
}  // namespace

QList<int> BotonesDeEstilo(int estilo) {
    using namespace Respuesta;
    switch (estilo & 7) {
    case Estilo::OKCancel: return {OK, Cancel};
    case Estilo::AbortRetryIgnore: return {Abort, Retry, Ignore};
    case Estilo::YesNoCancel: return {Yes, No, Cancel};
    case Estilo::YesNo: return {Yes, No};
    case Estilo::RetryCancel: return {Retry, Cancel};
    default: return {OK};
    }
}

int MsgBox(const QString& texto, int estilo, const QString& titulo) {
    // What the trace holds is on disk while the operator decides.
    runtime::Archivos::VaciarDiferidos();
    Pregunta p{texto, estilo, titulo.isEmpty() ? runtime::NombreEjecutable() : titulo};
    if (!Actual()) Actual() = std::make_shared<RespondedorDesatendido>();
    // Keep the answerer alive even if a prompt replaces it meanwhile.
    std::shared_ptr<Respondedor> r = Actual();
    return r->Responder(p);
}

std::shared_ptr<Respondedor> EstablecerRespondedor(std::shared_ptr<Respondedor> respondedor) {
    std::shared_ptr<Respondedor> anterior = Actual();
    Actual() = std::move(respondedor);
    return anterior;
}

std::shared_ptr<Respondedor> RespondedorActual() { return Actual(); }

bool Desatendido() { return !Actual() || Actual()->Desatendido(); }

}  // namespace platform::ui
