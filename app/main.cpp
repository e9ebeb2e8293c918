// recepcion-email: builds the application, opens the reception window and
// runs until it is closed. Arguments that start with "--" are the program's
// own options; the rest, joined by blanks, is the parameter line.
#include "Pantalla.h"
#include "common/ArchivoTemporal.h"
#include "common/Contexto.h"
#include "common/ReportarError.h"
#include "platform/db/Motores.h"
#include "platform/runtime/Entorno.h"
#include "platform/ui/RespondedorDesatendido.h"
#include "platform/ui/RespondedorQt.h"
#include "reception/CicloRecepcion.h"
#include "reception/EstadoPrograma.h"
#include "reception/Form1.h"
#include "reception/ResultadoRecepcion.h"
#include "reception/ResumenRecepcion.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

const char* const Uso =
    "Uso: recepcion-email [opciones] [línea de parámetros]\n"
    "\n"
    "Recibe el correo de cada cuenta y lo copia en la base de datos de gestión.\n"
    "\n"
    "Opciones:\n"
    "  --desatendido     responde los avisos sin mostrarlos (cada uno queda en la salida de errores)\n"
    "  --recibir CUENTA  tras cargar, recibe el correo de CUENTA una vez y termina\n"
    "  --reintentar CUENTA  vuelve a intentar los mensajes apartados de CUENTA (sin\n"
    "                    --recibir, solo los libera y termina)\n"
    "  --correo CARPETA  raíz del almacén de correo (también RECEPCION_CORREO; por defecto ~/Mail)\n"
    "  --datos CARPETA   carpeta de las bases de datos integradas (también RECEPCION_DATOS)\n"
    "  --help            muestra esta ayuda\n"
    "\n"
    "Línea de parámetros, por ejemplo:\n"
    "  recepcion-email \"@Server=;@DbName=GESTION;@Usuario=ANA;@Password=;\"\n"
    "Un servidor vacío usa la base de datos integrada.\n"
    "\n"
    "Códigos de salida:\n"
    "  0  terminó y, con --recibir, todo el correo de la cuenta pasó\n"
    "  1  no pudo funcionar: la carga falló, no abrió la base de datos o dejó la\n"
    "     importación de la cuenta a medias\n"
    "  2  una opción está mal escrita o le falta su valor\n"
    "  3  funcionó, pero no todo pasó: algún mensaje quedó sin importar o apartado,\n"
    "     o una respuesta automática no se envió\n"
    "     (cada uno tiene su línea en CVERR.LOG)\n";

// What an unattended reception leaves as its exit status.
enum Salida { Bien = 0, NoFunciono = 1, OpcionesMal = 2, Incompleta = 3 };

struct Opciones {
    bool desatendido = false;
    bool recibir = false;
    QString cuenta;
    QString reintentar;
    QStringList parametros;
};

// Returns false and prints why when an option is unknown or lacks its value.
bool Leer(const QStringList& argumentos, Opciones& o, QTextStream& err) {
    for (qsizetype i = 1; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        if (!a.startsWith(QStringLiteral("--"))) {
            o.parametros << a;
            continue;
        }
        const auto valor = [&](QString& destino) {
            if (i + 1 >= argumentos.size()) {
                err << QStringLiteral("Falta el valor de la opción %1\n").arg(a);
                return false;
            }
            // "--recibir --desatendido" is a forgotten value, not an account named so.
            if (argumentos[i + 1].startsWith(QStringLiteral("--"))) {
                err << QStringLiteral("La opción %1 necesita un valor, pero le sigue la opción %2\n")
                           .arg(a, argumentos[i + 1]);
                return false;
            }
            destino = argumentos[++i];
            return true;
        };
        QString carpeta;
        if (a == QLatin1String("--desatendido")) {
            o.desatendido = true;
        } else if (a == QLatin1String("--recibir")) {
            if (!valor(o.cuenta)) return false;
            o.recibir = true;
        } else if (a == QLatin1String("--reintentar")) {
            if (!valor(o.reintentar)) return false;
        } else if (a == QLatin1String("--correo")) {
            if (!valor(carpeta)) return false;
            qputenv("RECEPCION_CORREO", QDir(carpeta).absolutePath().toUtf8());
        } else if (a == QLatin1String("--datos")) {
            if (!valor(carpeta)) return false;
            qputenv("RECEPCION_DATOS", QDir(carpeta).absolutePath().toUtf8());
        } else {
            err << QStringLiteral("Opción desconocida: %1\n").arg(a);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // --help must work without a display.
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--help") {
            std::fputs(Uso, stdout);
            return 0;
        }
    }
    if (!PrepararPantalla(argc, argv)) return 1;
    auto guardiaPantalla = std::make_unique<GuardiaPantalla>();
    QApplication app(argc, argv);
    // Desktops match the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("recepcion-email"));
    guardiaPantalla.reset();
    platform::runtime::DecidirCarpetaAplicacion(QCoreApplication::applicationDirPath());
    QTextStream err(stderr);
    Opciones opciones;
    if (!Leer(app.arguments(), opciones, err)) {
        err << QString::fromUtf8(Uso);
        return OpcionesMal;
    }
    if (!opciones.reintentar.isEmpty()) {
        try {
            const int liberados = reception::LiberarApartados(opciones.reintentar);
            err << QStringLiteral("Cuenta %1: mensajes que vuelven a intentarse: %2").arg(opciones.reintentar).arg(liberados)
                << Qt::endl;
        } catch (const platform::runtime::ErrorSistema& e) {
            err << e.Descripcion << Qt::endl;
            return NoFunciono;
        }
        if (!opciones.recibir) return Bien;
    }
    platform::runtime::EstablecerLineaComandos(opciones.parametros.join(QLatin1Char(' ')));
    common::BorrarTrazasViejas();
    // A mistyped database name must not pass for an empty database.
    platform::db::EstablecerAvisoBaseNueva([](const QString& archivo) {
        common::AnotarAviso(QStringLiteral("Base de datos integrada nueva: no existía y se ha creado en %1").arg(archivo),
                            QStringLiteral("Conectar"));
    });
    if (opciones.desatendido)
        platform::ui::EstablecerRespondedor(std::make_shared<platform::ui::RespondedorDesatendido>());
    else
        platform::ui::EstablecerRespondedor(std::make_shared<platform::ui::RespondedorQt>());

    reception::Form1 ventana;
    ventana.Abrir();
    if (opciones.desatendido) {
        // Unattended runs leave a line saying how start-up went.
        auto& datos = common::Datos();
        err << QStringLiteral("[inicio] base de datos %1 (%2), usuario %3: %4")
                   .arg(datos.BaseDeDatos(), datos.Motor(), common::Contexto().UsuarioLogeado,
                        datos.Conectado() ? QStringLiteral("conectado") : QStringLiteral("sin conexión"))
            << Qt::endl;
    }
    if (opciones.recibir) {
        ventana.SetTextoCuentas(opciones.cuenta);
        reception::ActivarAvance(true);
        ventana.Ciclo().Recibir();
        const reception::ResultadoRecepcion& r = reception::Resultado();
        // Not a failure of the run: there is nothing in them to import.
        if (r.noSonCorreo > 0)
            err << QStringLiteral("Cuenta %1: %2 archivos del buzón no son correo y no se importan (ver CVERR.LOG)")
                       .arg(opciones.cuenta)
                       .arg(r.noSonCorreo)
                << Qt::endl;
        Salida salida = Bien;
        if (!common::Datos().Conectado() || r.abandonadas > 0) {
            err << QStringLiteral("No se pudo recibir el correo de %1: la importación no llegó al final").arg(opciones.cuenta)
                << Qt::endl;
            salida = NoFunciono;
        } else if (r.pasados > 0 || r.apartados > 0 || r.respuestasNoEnviadas > 0) {
            err << QStringLiteral("Cuenta %1: no todo el correo pasó; mensajes sin importar: %2, apartados: %3, "
                                  "respuestas sin enviar: %4 (ver CVERR.LOG)")
                       .arg(opciones.cuenta)
                       .arg(r.pasados)
                       .arg(r.apartados)
                       .arg(r.respuestasNoEnviadas)
                << Qt::endl;
            salida = Incompleta;
        }
        // Always the last line: what the journal of the timer keeps.
        err << reception::LineaResumen(opciones.cuenta, r) << Qt::endl;
        return salida;
    }
    return app.exec();
}
