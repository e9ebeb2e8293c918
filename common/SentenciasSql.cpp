#include "common/SentenciasSql.h"

#include "common/Contexto.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/ErrorSistema.h"

namespace common {

using namespace platform::runtime;

namespace {
// The lists were walked with 16-bit counters: a bound past 32767 overflows.
void ExigirLimite16(qsizetype elementos) { Entero16(elementos - 1); }

QString Unidos(const QList<CampoSQL>& campos, QString (*pieza)(const CampoSQL&)) {
    QString texto;
    for (qsizetype i = 0; i < campos.size(); ++i) {
        texto += pieza(campos[i]);
        if (i + 1 < campos.size()) texto += QLatin1Char(',');
    }
    return texto;
}
}  // namespace

QList<CampoSQL>& ListaCampos() {
    static QList<CampoSQL> lista;
    return lista;
}

void AgregarCampo(const QString& nombre, QString& valor, const QString& marcador, bool primero) {
    auto& lista = ListaCampos();
    if (primero) lista = {CampoSQL{}};
    else if (lista.isEmpty()) Lanzar(Err::IndiceFueraDeRango);
    else lista.append(CampoSQL{});

    valor.remove(QLatin1Char('\''));
    CampoSQL& campo = lista.last();
    campo.Nombre = nombre;
    if (valor.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        campo.Valor = QStringLiteral("Null");
    else
        campo.Valor = Datos().ValorSQL(valor, marcador);
}

void ArmarSentencia(QList<CampoSQL>& campos, QStringList& sentencias, const QString& tabla,
                    bool actualizar, QString& condicion, bool conservar) {
    if (campos.isEmpty() || sentencias.isEmpty()) Lanzar(Err::IndiceFueraDeRango);
    ExigirLimite16(campos.size());

    QString sentencia;
    if (!actualizar) {
        sentencia = QStringLiteral("INSERT INTO ") + tabla + QLatin1Char(' ') + QLatin1Char('(') +
                    Unidos(campos, [](const CampoSQL& c) { return c.Nombre; }) +
                    QStringLiteral(") VALUES (") +
                    Unidos(campos, [](const CampoSQL& c) { return c.Valor; }) + QLatin1Char(')');
    } else {
        const QString asignaciones = Unidos(
            campos, [](const CampoSQL& c) { return c.Nombre + QStringLiteral(" = ") + c.Valor; });
        if (!condicion.contains(QLatin1String("WHERE"), Qt::CaseInsensitive))
            condicion = QStringLiteral(" WHERE ") + condicion;
        sentencia = QStringLiteral("UPDATE ") + tabla + QStringLiteral(" SET ") + asignaciones +
                    QLatin1Char(' ') + condicion;
    }
    // The empty element after it is skipped by the script runner.
    sentencias.append(sentencia);
    sentencias.append(QString());

    if (!conservar) campos = {CampoSQL{}};
}

QString AdaptarSQL(const QString& texto) {
    QString resultado = texto;
    // SQL Server text is the dialect of the whole system.
    if (!Datos().Motor().contains(QLatin1String("oracle"), Qt::CaseInsensitive)) return resultado;

    if (Util().CantidadPalabras(texto) <= 1) {
        if (texto.toUpper() == QLatin1String("LEN")) resultado = QStringLiteral("LENGTH");
        return resultado;
    }

    if (!texto.contains(QLatin1String("top "), Qt::CaseInsensitive)) return resultado;
    const qsizetype top = texto.indexOf(QLatin1String("top"), 0, Qt::CaseInsensitive);
    const QString izquierda = texto.left(top);
    const QString resto = texto.mid(top + 3);
    const qsizetype asterisco = resto.indexOf(QLatin1Char('*'));
    // Without "*" the row count cannot be cut out.
    if (asterisco < 0) Lanzar(Err::ArgumentoNoValido);
    const QString numero = resto.left(asterisco);
    const QString cola = resto.mid(asterisco + 1);
    return izquierda + QStringLiteral(" * ") + cola + QStringLiteral(" WHERE ROWNUM <= ") + numero;
}

}  // namespace common
