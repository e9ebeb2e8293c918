#include "reception/LeerOutlook.h"

#include "platform/runtime/Texto.h"
#include "common/ArchivoTemporal.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "common/FechaServidor.h"
#include "platform/db/LiteralSql.h"
#include "platform/mail/Aplicacion.h"
#include "platform/mail/LecturaAnticipada.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/NombresUnicos.h"
#include "platform/runtime/Pasos.h"
#include "platform/ui/MsgBox.h"
#include "reception/AdjuntosMensaje.h"
#include "reception/ArreglarHtml.h"
#include "reception/CarpetaAdjuntos.h"
#include "reception/CorreoAutomatico.h"
#include "reception/EjecutarAccion.h"
#include "reception/EntradasConocidas.h"
#include "reception/EstadoPrograma.h"
#include "reception/MensajeFallido.h"
#include "reception/PeriodoImportacion.h"
#include "reception/PorResponder.h"
#include "reception/ResultadoRecepcion.h"
#include "reception/ResumenRecepcion.h"
#include "reception/Sincronizar.h"

#include <QSet>

#include <atomic>
#include <optional>
#include <vector>

namespace reception {

using namespace platform::runtime;
namespace mail = platform::mail;

namespace {

QString SinApostrofes(const QString& t) {
    QString r = t;
    return r.remove(QLatin1Char('\''));
}

using platform::db::DoblarApostrofos;

// Columns that take a cut text: apostrophes removed, 250 characters, trimmed.
QString Columna(const QString& t) { return common::Util().Truncar(SinApostrofes(t), 250).trimmed(); }

}  // namespace

void LeerOutlook(VistaRecepcion& vista, const QString& cuenta, QString& fd, QString& fh) {
    auto& util = common::Util();
    auto& datos = common::Datos();
    bool saltarMensaje = false;
    bool cancelada = false;
    bool abandonada = false;  // left for want of an account or a folder, not cancelled
    QString rutaMensaje;  // the last message folder computed in this call
    std::optional<mail::Carpeta> bandeja;
    std::optional<mail::Elementos> elementos;
    long contador = 0;
    QString periodo;  // the setting "ACTUALIZA_OUTLOOK", read in step 6
    bool sinPeriodo = false;
    // The trace is closed when the import returns: left open, every import
    // would hold one more file number until none were left.
    struct CierreTraza {
        ~CierreTraza() { common::CerrarTraza(); }
    } cierre;

    // The import's own rule: some numbers are its business, the rest go to the operator.
    const Manejador manejador = [&](const ErrorSistema& e) {
        if (e.Numero == Err::DemasiadosArchivos || e.Numero == Err::ErrorAccesoRuta) return Accion::Siguiente;
        if (e.Numero == Err::NoAdmitido) {
            saltarMensaje = true;
            return Accion::Siguiente;
        }
        return AccionPorRespuesta(util.MostrarError(e));
    };
    // Within one message, a failure that would leave the import passes over
    // the message instead: unattended at once, in the window on Ignore.
    std::optional<ErrorSistema> fallo;
    const Manejador manejadorMensaje = [&](const ErrorSistema& e) {
        if (e.Numero == Err::DemasiadosArchivos || e.Numero == Err::ErrorAccesoRuta || e.Numero == Err::NoAdmitido)
            return manejador(e);
        if (!platform::ui::Desatendido()) {
            const int respuesta = util.MostrarError(e);
            if (respuesta != platform::ui::Respuesta::Ignore) return AccionPorRespuesta(respuesta);
        }
        fallo = e;
        return Accion::Siguiente;
    };
    // A message is never stored without its attachments: one that cannot be
    // saved passes over the message, which the next import tries again.
    const Manejador manejadorAdjunto = [&](const ErrorSistema& e) {
        if (e.Numero != Err::ErrorAccesoRuta) return manejadorMensaje(e);
        fallo = e;
        return Accion::Siguiente;
    };
    const auto cancelar = [&] {
        if (!vista.CancelarRecepcion()) return false;
        vista.SetValorBarra(vista.MaximoBarra());
        vista.MostrarEstado(QStringLiteral("Cancelado"));
        vista.CancelarRecepcion() = 0;
        return true;
    };

    const bool completa = EjecutarPasos(manejador, {
        // 1
        [&] {
            if (cuenta.isEmpty()) {
                platform::ui::MsgBox(QStringLiteral("Debe configurar al menos 1 cuenta"),
                                     platform::ui::Estilo::OKOnly + platform::ui::Estilo::Critical,
                                     QStringLiteral("Aviso al Operador"));
                abandonada = true;
                SalirDelProcedimiento();
            }
        },
        // Nothing is saved outside the configured folder, so without one nothing is imported.
        [&] {
            if (CarpetaAdjuntosUtilizable(vista.CarpetaAdjuntos())) return;
            AvisarCarpetaAdjuntos();
            abandonada = true;
            SalirDelProcedimiento();
        },
        // 2
        [&] { common::Traza(1, QStringLiteral("INICIO")); },
        // 3
        [&] {
            Sincronizar(vista, cuenta);  // a failure is logged; the store's mail is still read
            const mail::Aplicacion aplicacion;
            bandeja = aplicacion.GetNamespace(QStringLiteral("MAPI")).Folders(cuenta).Folders(
                QStringLiteral("Bandeja de entrada"));
            elementos = bandeja->Items();
            AnotarOmitidos(cuenta, elementos->Omitidos());
        },
        // 4
        [&] {
            if (!cancelar()) return;
            cancelada = true;
            SalirDelProcedimiento();
        },
        // 5
        [&] {
            contador = 0;
            vista.MostrarEstado(QStringLiteral("Sincronizando..."));
            vista.SetRangoBarra(0, elementos ? elementos->Count() : 0);
        },
        // 6, one step per statement: a failure storing the default still
        // leaves the default in use.
        [&] {
            QString aux;
            periodo = common::Cfg(QStringLiteral("ACTUALIZA_OUTLOOK"), aux).trimmed();
        },
        [&] { common::Traza(2, QStringLiteral("1")); },
        [&] { sinPeriodo = periodo.isEmpty(); },
        Si(sinPeriodo, {
            [&] {
                common::GrabaDfg(QStringLiteral("ACTUALIZA_OUTLOOK"), PeriodoPredeterminado(), QString(), false,
                                 QStringLiteral("DATOS"), true);
            },
            [&] { periodo = PeriodoPredeterminado(); },
        }),
        // 7: a step of its own, so that a failure reading the setting still
        // leaves the period computed. Each date from its own reading of the
        // server's clock.
        [&] {
            const QDateTime desde = common::FechaServidor();
            const QDateTime hasta = common::FechaServidor();
            CalcularPeriodo(periodo, desde, hasta, fd, fh);
        },
        // 8
        [&] { DoEvents(); },
        // Messages stored by an import that stopped before answering them.
        [&] { ResponderDejados(vista, cuenta); },
        // 9
        [&] {
            if (!elementos) return;
            const long total = elementos->Count();
            long posicion = 0;
            EntradasConocidas conocidas;
            std::atomic<bool> conocidasLeidas{false};
            // The next messages are read and parsed ahead, on a thread that sees
            // only the files, the period and the set of known entries. It starts
            // on the files while the set is read, and asks the set once it is.
            const bool asuntos = vista.EstadoALaVista();
            mail::LecturaAnticipada lectura(
                *elementos, [&conocidas, &conocidasLeidas, fd, fh, asuntos](const mail::Elemento& e) {
                    if (!EnPeriodo(e.SegundosRecibido(), fd, fh)) return mail::Lectura::Nada;
                    conocidasLeidas.wait(false);
                    if (!conocidas.Contiene(e.EntryID().trimmed())) return mail::Lectura::Completa;
                    return asuntos ? mail::Lectura::Asunto : mail::Lectura::Nada;
                });
            // Whatever happens below, the thread is never left waiting for the set.
            struct Leidas {
                std::atomic<bool>& leidas;
                ~Leidas() {
                    leidas = true;
                    leidas.notify_all();
                }
            } leidas{conocidasLeidas};
            conocidas.Leer(vista.TextoCuentas().trimmed());
            conocidasLeidas = true;
            conocidasLeidas.notify_all();
            const QHash<QString, int> fallos = FallosDeLaCuenta(cuenta);
            // Yields at most every few milliseconds: a poll per message would
            // cost more than a known message itself.
            DoEventsEspaciado doEvents;
            // The message under way. Its steps are built once for the whole
            // inbox, so a known message costs its three tests and nothing more.
            const mail::Elemento* elemento = nullptr;
            struct {
                QString formato, cuerpo, idComprobante, cuentaVinculada, sentencia, remitente;
                PorResponder porResponder;
                bool insertado = false;
                bool listo = false;  // out of the period, known or set aside: the next one
                int fallosPrevios = 0;
                IntentoMensaje intento;
            } m;
            // A message done with, or whose step failed, goes no further in this attempt.
            const auto paso = [&](Paso f) -> Paso {
                return [&fallo, &m, f = std::move(f)] {
                    if (!fallo && !m.listo) f();
                };
            };
            const std::vector<Paso> pasosMensaje = {
                // 9.1
                paso([&] {
                    if (EnPeriodo(elemento->SegundosRecibido(), fd, fh)) return;
                    ++Resultado().fueraDelPeriodo;
                    m.listo = true;
                }),
                // 9.2
                paso([&] {
                    common::Traza(2, QStringLiteral("2"));
                    vista.SetValorBarra(static_cast<int>(++contador));
                    // Out of sight the subject is not even read: a known message then costs no open.
                    if (vista.EstadoALaVista()) vista.MostrarEstado(elemento->Subject().trimmed());
                    doEvents();
                }),
                // 9.3
                paso([&] {
                    // A known message costs one lookup; only one not in the account's
                    // set is asked about, as it may be stored under another account.
                    const QString entrada = elemento->EntryID().trimmed();
                    if (conocidas.Contiene(entrada) ||
                        datos.ExisteRegistro(QStringLiteral("V_MA_EMAILMOV"), entrada, QStringLiteral("UIDL"))) {
                        ++Resultado().conocidos;
                        m.listo = true;
                    }
                }),
                // Set aside after too many failed imports: not tried, no dialog.
                paso([&] {
                    m.fallosPrevios = fallos.value(elemento->EntryID().trimmed());
                    if (m.fallosPrevios < IntentosAntesDeApartar) return;
                    ++Resultado().apartados;
                    m.listo = true;
                }),
                // 9.4
                paso([&] { common::Traza(2, QStringLiteral("OTRO")); }),
                // 9.5
                paso([&] {
                    if (!cancelar()) return;
                    cancelada = true;
                    SalirDelProcedimiento();
                }),
                // 9.6
                paso([&] { doEvents(); }),
                // 9.7
                paso([&] {
                    platform::runtime::NombresUnicos usados(MaximoBytesNombreAdjunto);
                    for (const mail::Adjunto& adjunto : elemento->Attachments()) {
                        if (adjunto.Type() != 1 && adjunto.Type() != 5) continue;
                        EjecutarPasosAnidados(manejadorAdjunto, {
                            [&] {
                                rutaMensaje = util.RutaConBarra(vista.CarpetaAdjuntos()) + elemento->EntryID();
                                doEvents();
                            },
                            // Normal permissions: a read-only folder would refuse the files here.
                            [&] {
                                if (fallo || ExisteRuta(rutaMensaje)) return;
                                CrearCarpeta(rutaMensaje);
                                m.intento.carpetaCreada = rutaMensaje;
                            },
                            [&] {
                                if (fallo) return;
                                const QString nombre = usados.Libre(NombreArchivoAdjunto(adjunto.FileName()));
                                // Listed first: a file cut short by a failure goes too.
                                m.intento.archivos << util.RutaConBarra(rutaMensaje) + nombre;
                                adjunto.SaveAsFile(m.intento.archivos.last());
                            },
                            [&] { if (!fallo) common::Traza(2, QStringLiteral("ADJUNTOS")); },
                        });
                        if (fallo) return;
                    }
                }),
                // 9.8
                paso([&] {
                    m.formato.clear();
                    common::Traza(2, QString::number(elemento->BodyFormat()));
                }),
                // 9.9
                paso([&] {
                    switch (elemento->BodyFormat()) {
                    case 0: m.cuerpo.clear(); m.formato = QStringLiteral("NO_CONOCIDO"); break;
                    case 1: m.cuerpo = elemento->Body(); m.formato = QStringLiteral("TXT"); break;
                    case 2:
                        m.cuerpo = ArreglarHtml(elemento->HTMLBody(), elemento->EntryID(), vista.CarpetaAdjuntos());
                        m.formato = QStringLiteral("HTML");
                        break;
                    case 3: m.cuerpo.clear(); m.formato = QStringLiteral("RTF"); break;
                    default: break;
                    }
                }),
                // 9.12
                paso([&] {
                    m.idComprobante.clear();
                    m.cuentaVinculada.clear();
                    platform::db::Recordset rs;
                    // The identifier is bound, so the statement is prepared once.
                    datos.AbrirConsulta(QStringLiteral("SELECT * FROM V_mA_EMAILMOV WHERE IDCONVERSACION=? AND IDCOMPROBANTE<>''"),
                                        rs, {elemento->ConversationID().trimmed()});
                    if (!rs.Bof()) {
                        m.idComprobante = util.NoNulo(rs.Fields(QStringLiteral("IdComprobante")).Value());
                        m.cuentaVinculada = util.NoNulo(rs.Fields(QStringLiteral("Cuenta")).Value());
                    }
                    datos.CerrarRecordset(rs);
                }),
                // 9.13
                paso([&] {
                    QString mensaje = m.cuerpo;
                    mensaje.replace(QLatin1Char('\''), QLatin1Char('"'));
                    const QString sep = QStringLiteral("','");
                    m.sentencia =
                        QStringLiteral(" INSERT INTO V_MA_EMAILMOV (STATUS,DE,PARA,ASUNTO,MENSAJE,FECHAHORA,USUARIO,") +
                        QStringLiteral(" NombreDe,CC,UIDL,IdConversacion,CuentaEmail,Eliminado,Leido,Tipo,TC,IDCOMPROBANTE,CUENTA)") +
                        QStringLiteral(" VALUES ('") + m.formato +
                        sep + SinApostrofes(elemento->SenderEmailAddress()).trimmed() +
                        sep + Columna(elemento->To()) + sep + Columna(elemento->Subject()) + sep + mensaje +
                        sep + FechaIso(elemento->ReceivedTime()) +
                        sep + DoblarApostrofos(common::Contexto().UsuarioLogeado) + sep + Columna(elemento->SenderName()) +
                        sep + Columna(elemento->CC()) + sep + DoblarApostrofos(elemento->EntryID()) +
                        sep + DoblarApostrofos(elemento->ConversationID()) + sep + DoblarApostrofos(vista.TextoCuentas().trimmed()) +
                        QStringLiteral("',0,0,'R','OT','") + DoblarApostrofos(m.idComprobante) + sep + DoblarApostrofos(m.cuentaVinculada) +
                        QStringLiteral("')");
                }),
                // Marked before its row, so a stop after the row still gets the reply out.
                paso([&] {
                    // Only a message that may be answered: a mark costs a write to the state file.
                    if (saltarMensaje || !PideRespuesta(m.cuerpo) || EsCorreoAutomatico(*elemento)) return;
                    m.porResponder = {elemento->EntryID().trimmed(), elemento->SenderEmailAddress().trimmed(),
                                      TextoDelComando(m.cuerpo)};
                    AnotarPorResponder(cuenta, m.porResponder);
                }),
                // 9.14
                paso([&] {
                    if (saltarMensaje) return;
                    doEvents();
                    datos.EjecutarSQL(m.sentencia, 0);
                    const auto& errores = datos.Conexion().Errors();
                    // Another importer stored it between our test and our insert: not a failure.
                    if (errores.Count() > 0 && errores.Item(0).NativeError == platform::db::Nativo::ClaveDuplicada &&
                        datos.ExisteRegistro(QStringLiteral("V_MA_EMAILMOV"), elemento->EntryID().trimmed(),
                                             QStringLiteral("UIDL"))) {
                        ++Resultado().conocidos;
                        return;
                    }
                    if (errores.Count() > 0) {
                        common::Traza(2, rutaMensaje);
                        platform::ui::MsgBox(errores.Item(0).Description, platform::ui::Estilo::OKOnly);
                        fallo = ErrorSistema{errores.Item(0).Number, errores.Item(0).Description,
                                             QStringLiteral("LeerOutlook")};
                    } else {
                        m.insertado = true;
                        ++Resultado().nuevos;
                        if (m.fallosPrevios > 0) OlvidarFallos(cuenta, elemento->EntryID().trimmed());
                    }
                }),
                // 9.10 and 9.11, once the row is stored: a message that fails to
                // insert is met again at every import and must not be answered again.
                paso([&] {
                    if (!m.insertado || EsCorreoAutomatico(*elemento)) return;
                    m.remitente = elemento->SenderEmailAddress().trimmed();
                    const OrigenDeRespuesta origen(cuenta, elemento->EntryID().trimmed());
                    EjecutarAccion(vista, m.remitente, m.cuerpo);
                }),
                paso([&] { if (m.insertado) common::Traza(2, QStringLiteral("SALIO")); }),
            };
            while (std::optional<mail::Elemento> siguiente = lectura.Siguiente()) {
                elemento = &*siguiente;
                MostrarAvance(cuenta, ++posicion, total);
                m = {};
                fallo.reset();
                EjecutarPasosAnidados(manejadorMensaje, pasosMensaje);
                if (!m.porResponder.comando.isEmpty()) OlvidarPorResponder(cuenta, m.porResponder.entrada);
                if (saltarMensaje) AnotarNoEsCorreo(cuenta, elemento->EntryID().trimmed(), elemento->Ruta());
                if (fallo && m.insertado)
                    AnotarFalloTrasGuardar(cuenta, elemento->EntryID().trimmed(), *fallo);
                else if (fallo)
                    PasarPorAlto(cuenta, elemento->EntryID().trimmed(), *fallo, m.intento);
                fallo.reset();
                // 9.15
                saltarMensaje = false;
                lectura.Devolver(std::move(*siguiente));
            }
        },
        // 10
        [&] { vista.SetValorBarra(vista.MaximoBarra()); },
    });
    // Cancelling is the operator's choice, not an import left undone.
    if (abandonada || (!completa && !cancelada)) ++Resultado().abandonadas;
}

}  // namespace reception
