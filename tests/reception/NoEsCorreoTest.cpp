// Files of the inbox that are not mail: each one named once in CVERR.LOG,
// remembered in the program's state so later imports do not name it again,
// and counted in every run.
#include "ImportacionPrueba.h"
#include "reception/ResultadoRecepcion.h"

using namespace reception;
using pruebas::Importacion;

TEST_F(Importacion, ArchivoQueNoEsCorreoSeAnotaUnaVez) {
    struct Caso {
        const char* que;
        QByteArray contenido;
    };
    const Caso casos[] = {
        {"vacio", ""},
        {"binario", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01", 20)},
        {"solo cuerpo", "esto no tiene cabeceras, solo texto\r\nen dos lineas\r\n"},
        {"sin cabecera", "\r\nSubject: tras una linea en blanco no es cabecera\r\n"},
    };
    QStringList rutas;
    for (const Caso& c : casos) rutas << bandeja.Agregar(c.contenido, ahora.addSecs(-60), QString::fromLatin1(c.que).remove(u' '));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("bueno"), QStringLiteral("a@x.test"), QStringLiteral("x")), ahora.addSecs(-30));
    Resultado() = {};
    Importar();
    Importar();
    ASSERT_EQ(Filas().size(), 1);
    EXPECT_EQ(Filas()[0][QStringLiteral("ASUNTO")], QStringLiteral("bueno"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    const QString log = Log();
    for (const QString& ruta : rutas)
        EXPECT_EQ(log.count(QStringLiteral("Cuenta ventas@demo.test: el archivo %1 del buzón no es un mensaje de correo "
                                           "y no se importa").arg(ruta)),
                  1)
            << log.toStdString();
    // Counted in each run's summary; not a failure of the run.
    EXPECT_EQ(Resultado().noSonCorreo, 8);
    EXPECT_EQ(Resultado().pasados, 0);
}
