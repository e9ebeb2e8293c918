#pragma once
// Helpers shared by the tests: environment, files, and the exception that
// stands for the program ending.
#include "platform/runtime/Entorno.h"

#include <QString>
#include <QTemporaryDir>

namespace pruebas {

// FinalizarPrograma throws this in tests.
using ProgramaFinalizado = platform::runtime::ProgramaFinalizado;

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

// The distribution's Python (where python3-aiosmtpd lives), or RECEPCION_PYTHON.
QString Python();

QByteArray LeerArchivo(const QString& ruta);
// A byte-exact output as it must be: tests/data/esperado/<nombre>. A missing
// file fails the test.
QByteArray Esperado(const QString& nombre);
// A message of the regression mail set: tests/data/correo/<nombre>. A missing
// file fails the test.
QByteArray Correo(const QString& nombre);
QString CarpetaCorreo();
void EscribirArchivo(const QString& ruta, const QByteArray& contenido);
// Every file under a folder, hidden ones too, relative to it and sorted.
QStringList ArchivosBajo(const QString& carpeta);

}  // namespace pruebas

// Readable QString values in test failures.
#include <ostream>
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
