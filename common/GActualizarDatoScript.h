#pragma once
// Runs a list of statements on the business database as one transaction,
// sent in a single call: committed when the database reports no error,
// otherwise rolled back, recorded in AUX_ERR and shown to the operator.
#include <QString>
#include <QStringList>

#include <cstdint>

namespace common {

// The script sent for the statements: "BEGIN TRANSACTION ", CR CR, then CR
// and each statement that is not blank (untrimmed), and a last CR. ""
// when every statement is blank.
QString ParteSentencias(const QStringList& sentencias);
QString ScriptTransaccion(const QString& parteSentencias);

// fallido: out, true when the database reported errors (rolled back).
// numeroError: out, the first error's native number, 0 on success; left
//   alone when there was nothing to run.
// silencioDuplicado / silencioRestriccion: no message when the first error
//   is 2627 / 547; textoError then holds that error's description alone.
// scriptEnviado: out, the script as sent. textoError: out, the error lines.
// mostrarMensaje: show the error lines to the operator.
void GActualizarDatoScript(const QStringList& sentencias, bool& fallido, std::int32_t& numeroError,
                           bool silencioDuplicado, bool silencioRestriccion,
                           QString& scriptEnviado, QString& textoError, bool mostrarMensaje);

}  // namespace common
