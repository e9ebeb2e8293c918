#include "reception/CorreoAutomatico.h"

#include <QStringList>

namespace reception {

bool EsCorreoAutomatico(const platform::mail::Elemento& e) {
    const QString autoSubmitted = e.Cabecera(QStringLiteral("Auto-Submitted")).trimmed();
    if (!autoSubmitted.isEmpty() && autoSubmitted.compare(QStringLiteral("no"), Qt::CaseInsensitive) != 0)
        return true;
    const QString precedencia = e.Cabecera(QStringLiteral("Precedence")).trimmed().toLower();
    if (precedencia == QLatin1String("bulk") || precedencia == QLatin1String("junk") ||
        precedencia == QLatin1String("list"))
        return true;
    if (!e.Cabecera(QStringLiteral("List-Id")).trimmed().isEmpty()) return true;
    QString retorno = e.Cabecera(QStringLiteral("Return-Path")).trimmed();
    retorno.remove(QLatin1Char(' '));
    if (retorno == QLatin1String("<>")) return true;
    if (e.TipoContenido().compare(QStringLiteral("multipart/report"), Qt::CaseInsensitive) == 0) return true;
    const QString local = e.SenderEmailAddress().section(QLatin1Char('@'), 0, 0).trimmed().toLower();
    static const QStringList maquinas{QStringLiteral("mailer-daemon"), QStringLiteral("postmaster"),
                                      QStringLiteral("noreply"), QStringLiteral("no-reply")};
    return maquinas.contains(local);
}

}  // namespace reception
