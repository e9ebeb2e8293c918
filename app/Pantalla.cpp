#include "Pantalla.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const ComoRecibirSinVentana =
    "Para recibir sin ventana use --desatendido --recibir CUENTA.";

bool Tiene(int argc, char** argv, const char* argumento) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], argumento) == 0) return true;
    return false;
}

QtMessageHandler& Anterior() {
    static QtMessageHandler h = nullptr;
    return h;
}

void Filtro(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (tipo == QtFatalMsg) {
        const QByteArray plataforma = qgetenv("QT_QPA_PLATFORM");
        const QByteArray pantalla = qgetenv("DISPLAY").isEmpty() ? qgetenv("WAYLAND_DISPLAY") : qgetenv("DISPLAY");
        if (pantalla.isEmpty())
            std::fprintf(stderr, "recepcion-email: no se pudo iniciar la plataforma de Qt «%s». %s\n",
                         plataforma.constData(), ComoRecibirSinVentana);
        else
            std::fprintf(stderr, "recepcion-email: no se pudo abrir la ventana en la pantalla «%s» "
                                 "(plataforma de Qt «%s»). %s\n",
                         pantalla.constData(), plataforma.isEmpty() ? "predeterminada" : plataforma.constData(),
                         ComoRecibirSinVentana);
        std::fflush(stderr);
        std::_Exit(1);
    }
    // What the platform plugins say while one after another is tried, and the
    // runtime folder a timer's session does not have (Qt uses one of its own).
    if (contexto.category && std::strncmp(contexto.category, "qt.qpa", 6) == 0 && tipo != QtCriticalMsg) return;
    if (texto.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    if (Anterior()) Anterior()(tipo, contexto, texto);
}

}  // namespace

bool PrepararPantalla(int argc, char** argv) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || Tiene(argc, argv, "-platform")) return true;
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (Tiene(argc, argv, "--desatendido")) {
        // A display that is named but cannot be reached falls back to offscreen.
        const char* lista = wayland ? "wayland;xcb;offscreen" : x11 ? "xcb;offscreen" : "offscreen";
        qputenv("QT_QPA_PLATFORM", lista);
        return true;
    }
    if (wayland || x11) return true;
    std::fprintf(stderr, "recepcion-email: no hay pantalla para abrir la ventana (DISPLAY y WAYLAND_DISPLAY "
                         "están vacías). %s\n", ComoRecibirSinVentana);
    return false;
}

GuardiaPantalla::GuardiaPantalla() { Anterior() = qInstallMessageHandler(Filtro); }
GuardiaPantalla::~GuardiaPantalla() { qInstallMessageHandler(Anterior()); }
