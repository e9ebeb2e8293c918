#include "platform/mail/HtmlTexto.h"

#include <QRegularExpression>

namespace platform::mail {

namespace {

bool TerminaBloque(const QString& etiqueta) {
    static const QStringList bloques = {
        QStringLiteral("br"), QStringLiteral("p"), QStringLiteral("div"), QStringLiteral("tr"),
        QStringLiteral("li"), QStringLiteral("h1"), QStringLiteral("h2"), QStringLiteral("h3"),
        QStringLiteral("h4"), QStringLiteral("h5"), QStringLiteral("h6"),
        QStringLiteral("table"), QStringLiteral("blockquote"), QStringLiteral("hr")};
    return bloques.contains(etiqueta);
}

QString Entidad(const QString& nombre) {
    if (nombre.startsWith(u'#')) {
        bool ok = false;
        const uint codigo = nombre.startsWith(QLatin1String("#x"), Qt::CaseInsensitive)
                                ? nombre.mid(2).toUInt(&ok, 16)
                                : nombre.mid(1).toUInt(&ok, 10);
        if (!ok || codigo == 0 || codigo > 0x10FFFF || (codigo >= 0xD800 && codigo <= 0xDFFF))
            return {};
        const char32_t c = codigo;
        return QString::fromUcs4(&c, 1);
    }
    // The named entities Spanish mail uses; the rest stay as written.
    static const QHash<QString, char16_t> nombres = {
        {QStringLiteral("amp"), u'&'},     {QStringLiteral("lt"), u'<'},
        {QStringLiteral("gt"), u'>'},      {QStringLiteral("quot"), u'"'},
        {QStringLiteral("apos"), u'\''},   {QStringLiteral("nbsp"), u' '},
        {QStringLiteral("aacute"), u'á'},  {QStringLiteral("Aacute"), u'Á'},
        {QStringLiteral("eacute"), u'é'},  {QStringLiteral("Eacute"), u'É'},
        {QStringLiteral("iacute"), u'í'},  {QStringLiteral("Iacute"), u'Í'},
        {QStringLiteral("oacute"), u'ó'},  {QStringLiteral("Oacute"), u'Ó'},
        {QStringLiteral("uacute"), u'ú'},  {QStringLiteral("Uacute"), u'Ú'},
        {QStringLiteral("ntilde"), u'ñ'},  {QStringLiteral("Ntilde"), u'Ñ'},
        {QStringLiteral("uuml"), u'ü'},    {QStringLiteral("Uuml"), u'Ü'},
        {QStringLiteral("iexcl"), u'¡'},   {QStringLiteral("iquest"), u'¿'},
        {QStringLiteral("ordf"), u'ª'},    {QStringLiteral("ordm"), u'º'},
        {QStringLiteral("euro"), u'€'},    {QStringLiteral("copy"), u'©'},
        {QStringLiteral("reg"), u'®'},     {QStringLiteral("deg"), u'°'},
        {QStringLiteral("laquo"), u'«'},   {QStringLiteral("raquo"), u'»'},
        {QStringLiteral("middot"), u'·'},  {QStringLiteral("hellip"), u'…'},
    };
    const auto hallado = nombres.constFind(nombre);
    return hallado == nombres.cend() ? QString() : QString(QChar(*hallado));
}

}  // namespace

QString HtmlATexto(const QString& html) {
    static const QRegularExpression ocultos(
        QStringLiteral("<!--.*?-->|<(script|style|head)\\b.*?</\\1\\s*>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QString fuente = QString(html).remove(ocultos);

    QString texto;
    texto.reserve(fuente.size());
    bool blanco = false;
    for (qsizetype i = 0; i < fuente.size(); ++i) {
        const QChar c = fuente.at(i);
        if (c == u'<') {
            const qsizetype cierre = fuente.indexOf(u'>', i);
            if (cierre < 0) break;
            QString etiqueta = fuente.mid(i + 1, cierre - i - 1).trimmed().toLower();
            if (etiqueta.startsWith(u'/')) etiqueta.remove(0, 1);
            qsizetype largo = 0;
            while (largo < etiqueta.size() && etiqueta.at(largo).isLetterOrNumber()) ++largo;
            etiqueta.truncate(largo);
            if (TerminaBloque(etiqueta)) {
                while (texto.endsWith(u' ')) texto.chop(1);
                texto += u'\n';
                blanco = true;
            }
            i = cierre;
        } else if (c.isSpace()) {
            if (!blanco) texto += u' ';
            blanco = true;
        } else if (c == u'&') {
            const qsizetype fin = fuente.indexOf(u';', i);
            const QString valor = fin > i && fin - i <= 10 ? Entidad(fuente.mid(i + 1, fin - i - 1))
                                                          : QString();
            if (valor.isEmpty()) {
                texto += c;
            } else {
                texto += valor;
                i = fin;
            }
            blanco = false;
        } else {
            texto += c;
            blanco = false;
        }
    }
    static const QRegularExpression lineasVacias(QStringLiteral("\n{3,}"));
    return texto.replace(lineasVacias, QStringLiteral("\n\n")).trimmed();
}

}  // namespace platform::mail
