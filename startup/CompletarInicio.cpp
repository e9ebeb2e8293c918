#include "startup/CompletarInicio.h"

namespace startup {

void CompletarInicio(bool, const QString&) {
    // The statistics link, connection settings, catalogue, settings load and
    // access audit join here as they are built.
}

}  // namespace startup
