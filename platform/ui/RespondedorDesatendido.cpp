#include "platform/ui/RespondedorDesatendido.h"

#include <QList>
#include <QTextStream>

#include <cstdio>

namespace platform::ui {

int RespondedorDesatendido::Responder(const Pregunta& pregunta) {
    const QList<int> botones = BotonesDeEstilo(pregunta.estilo);
    int respuesta = botones.first();
    if (botones.contains(Respuesta::Abort)) respuesta = Respuesta::Abort;
    else if (botones.contains(Respuesta::Cancel)) respuesta = Respuesta::Cancel;
    else if (botones.contains(Respuesta::No)) respuesta = Respuesta::No;
    if (registrar_) {
        QTextStream err(stderr);
        QString texto = pregunta.texto;
        texto.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        err << QStringLiteral("[aviso] ") << pregunta.titulo << QStringLiteral(": ") << texto
            << QStringLiteral(" -> respuesta ") << respuesta << Qt::endl;
    }
    return respuesta;
}

}  // namespace platform::ui
