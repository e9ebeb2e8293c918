#pragma once
// What the operating system said when a file operation failed, in the
// operator's language: the C library and Qt only say it in English.
#include <QString>

namespace platform::runtime {

// A short Spanish text for an errno value ("no queda espacio en el disco").
QString DescripcionFalloSistema(int numeroErrno);

}  // namespace platform::runtime
