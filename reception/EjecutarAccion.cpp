#include "reception/EjecutarAccion.h"

#include "common/Contexto.h"
#include "common/ReportarError.h"
#include "platform/db/LiteralSql.h"
#include "platform/db/Recordset.h"
#include "platform/smtp/Direcciones.h"
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

// The command without its "#" and the value it asks about.
struct Peticion {
    QString comando;
    QString valor;
};

Peticion LeerPeticion(const QString& mensaje) {
    Peticion p{TextoDelComando(mensaje), {}};
    p.comando.remove(Almohadilla);
    for (const char* palabra : {"CUENTACORRIENTE", "TELEFONO", "MAIL"}) {
        const QString clave = QString::fromLatin1(palabra);
        if (!Contiene(p.comando, clave)) continue;
        p.valor = SinBlancos(QString(p.comando).remove(clave + QLatin1Char(':'), Qt::CaseInsensitive));
        break;
    }
    return p;
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

bool PideRespuesta(const QString& mensaje) {
    const Peticion p = LeerPeticion(mensaje);
    if (p.valor.trimmed().isEmpty() || Contiene(p.comando, QStringLiteral("CUENTACORRIENTE"))) return false;
    return Contiene(p.comando, QStringLiteral("TELEFONO")) || Contiene(p.comando, QStringLiteral("MAIL"));
}

void EjecutarAccion(VistaRecepcion& vista, const QString& ctaMail, const QString& mensaje) {
    auto& datos = common::Datos();
    auto& util = common::Util();

    const Peticion peticion = LeerPeticion(mensaje);
    const QString& comando = peticion.comando;
    QString valor = peticion.valor;
    if (comando.isEmpty()) return;

    // An empty value would match every account and answer with the first
    // one's data: nothing was asked for.
    if (valor.trimmed().isEmpty()) return;

    QString descripcion;
    platform::db::Recordset rs;
    // The value is looked for as written: "%" or "_" in it are not wildcards.
    datos.AbrirRecordset(QStringLiteral("SELECT * FROM MA_CUENTAS WHERE DESCRIPCION LIKE '%") +
                             DoblarApostrofos(platform::db::SinComodines(valor)) + QStringLiteral("%'"),
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
    if (!hayFila) return;
    // A sender that is no mailbox cannot be answered: the attempt would only
    // put two prompts before the operator.
    if (!platform::smtp::EsDireccionSimple(ctaMail)) {
        common::AnotarAviso(QStringLiteral("Respuesta automática no enviada: el remitente \"%1\" no es una "
                                           "dirección de correo")
                                .arg(platform::smtp::Visible(ctaMail)),
                            QStringLiteral("EjecutarAccion"));
        return;
    }
    EnviarMail(vista, cuerpo, ctaMail, QStringLiteral("RESPUESTA AUTOMATICA"));
}

}  // namespace reception
