#include "reception/EjecutarAccion.h"

#include "common/Contexto.h"
#include "platform/db/LiteralSql.h"
#include "platform/db/Recordset.h"
#include "reception/EnviarMail.h"

namespace reception {

namespace {

const QString Almohadilla = QStringLiteral("#");

// The value inside a quoted SQL literal: it can never close the literal.
using platform::db::DoblarApostrofos;

// Leading and trailing blanks only; other white space stays part of the value.
QString SinBlancos(const QString& texto) {
    qsizetype inicio = 0, fin = texto.size();
    while (inicio < fin && texto[inicio] == QLatin1Char(' ')) ++inicio;
    while (fin > inicio && texto[fin - 1] == QLatin1Char(' ')) --fin;
    return texto.mid(inicio, fin - inicio);
}

bool Contiene(const QString& texto, const QString& palabra) {
    return texto.contains(palabra, Qt::CaseInsensitive);
}

}  // namespace

QString TextoDelComando(const QString& mensaje) {
    const qsizetype p = mensaje.indexOf(Almohadilla);
    if (p < 0) return {};
    // A lone "#" is ordinary text ("pedido #123"), not a command.
    const qsizetype q = mensaje.indexOf(Almohadilla, p + 1);
    if (q < 0) return {};
    return mensaje.mid(p, q - p + 1);
}

void EjecutarAccion(VistaRecepcion& vista, const QString& ctaMail, const QString& mensaje) {
    auto& datos = common::Datos();
    auto& util = common::Util();

    QString comando = TextoDelComando(mensaje);
    comando.remove(Almohadilla);
    if (comando.isEmpty()) return;

    QString valor;
    for (const char* palabra : {"CUENTACORRIENTE", "TELEFONO", "MAIL"}) {
        const QString clave = QString::fromLatin1(palabra);
        if (!Contiene(comando, clave)) continue;
        valor = SinBlancos(QString(comando).remove(clave + QLatin1Char(':'), Qt::CaseInsensitive));
        break;
    }

    QString descripcion;
    platform::db::Recordset rs;
    datos.AbrirRecordset(QStringLiteral("SELECT * FROM MA_CUENTAS WHERE DESCRIPCION LIKE '%") +
                             DoblarApostrofos(valor) + QStringLiteral("%'"),
                         rs, nullptr, platform::db::Cursores::ForwardOnly,
                         platform::db::Bloqueos::ReadOnly);
    if (!rs.Bof()) {
        descripcion = util.NoNulo(rs.Fields(QStringLiteral("Descripcion")));
        valor = util.NoNulo(rs.Fields(QStringLiteral("Codigo")));
    }
    datos.CerrarRecordset(rs);

    // The current-account command gets no reply.
    if (valor.isEmpty() || Contiene(comando, QStringLiteral("CUENTACORRIENTE"))) return;

    QString columna, prefijo;
    if (Contiene(comando, QStringLiteral("TELEFONO"))) {
        columna = QStringLiteral("TELEFONO");
        prefijo = QStringLiteral("Telefono de ");
    } else if (Contiene(comando, QStringLiteral("MAIL"))) {
        columna = QStringLiteral("mail");
        prefijo = QStringLiteral("Mail de ");
    } else {
        return;
    }

    datos.AbrirRecordset(QStringLiteral("SELECT * FROM MA_CUENTASADIC WHERE codigo ='") +
                             DoblarApostrofos(valor) + QStringLiteral("'"),
                         rs, nullptr, platform::db::Cursores::ForwardOnly,
                         platform::db::Bloqueos::ReadOnly);
    const bool hayFila = !rs.Bof();
    QString cuerpo;
    if (hayFila)
        cuerpo = prefijo + descripcion + QStringLiteral(" : ") + util.NoNulo(rs.Fields(columna));
    // Closed before sending: a failed send may keep a prompt open for long.
    datos.CerrarRecordset(rs);
    if (hayFila) EnviarMail(vista, cuerpo, ctaMail, QStringLiteral("RESPUESTA AUTOMATICA"));
}

}  // namespace reception
