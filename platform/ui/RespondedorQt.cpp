#include "platform/ui/RespondedorQt.h"

#include <QMessageBox>
#include <QPushButton>

#include <map>

namespace platform::ui {

namespace {
QMessageBox::Icon Icono(int estilo) {
    switch (estilo & 0x70) {
    case Estilo::Critical: return QMessageBox::Critical;
    case Estilo::Question: return QMessageBox::Question;
    case Estilo::Exclamation: return QMessageBox::Warning;
    case Estilo::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QString Rotulo(int respuesta) {
    switch (respuesta) {
    case Respuesta::OK: return QStringLiteral("Aceptar");
    case Respuesta::Cancel: return QStringLiteral("Cancelar");
    case Respuesta::Abort: return QStringLiteral("Anular");
    case Respuesta::Retry: return QStringLiteral("Reintentar");
    case Respuesta::Ignore: return QStringLiteral("Omitir");
    case Respuesta::Yes: return QStringLiteral("Sí");
    default: return QStringLiteral("No");
    }
}

QMessageBox::ButtonRole Papel(int respuesta) {
    switch (respuesta) {
    case Respuesta::Cancel:
    case Respuesta::Abort: return QMessageBox::RejectRole;
    case Respuesta::No: return QMessageBox::NoRole;
    case Respuesta::Yes: return QMessageBox::YesRole;
    default: return QMessageBox::AcceptRole;
    }
}
}  // namespace

int RespondedorQt::Responder(const Pregunta& pregunta) {
    QMessageBox caja(Icono(pregunta.estilo), pregunta.titulo, pregunta.texto);
    std::map<QAbstractButton*, int> respuestas;
    const QList<int> botones = BotonesDeEstilo(pregunta.estilo);
    const int porDefecto = (pregunta.estilo >> 8) & 3;
    for (int i = 0; i < botones.size(); ++i) {
        QPushButton* b = caja.addButton(Rotulo(botones[i]), Papel(botones[i]));
        respuestas[b] = botones[i];
        if (i == porDefecto) caja.setDefaultButton(b);
    }
    caja.exec();
    auto it = respuestas.find(caja.clickedButton());
    if (it != respuestas.end()) return it->second;
    // Closed with Esc or the window button: Cancel where offered, else the last.
    return botones.contains(Respuesta::Cancel) ? Respuesta::Cancel : botones.last();
}

}  // namespace platform::ui
