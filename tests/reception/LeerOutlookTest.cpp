#include "ImportacionPrueba.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/Entorno.h"
#include "BasePrueba.h"
#include "BuzonPrueba.h"
#include "ConexionPrueba.h"
#include "VistaPrueba.h"
#include "platform/db/Motores.h"
#include "platform/mail/LecturaAnticipada.h"
#include "platform/ui/RespondedorDesatendido.h"
#include "reception/EstadoPrograma.h"
#include "reception/ResultadoRecepcion.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <sys/inotify.h>
#include <unistd.h>

using namespace reception;

using pruebas::Importacion;
using pruebas::SinOperador;

TEST_F(Importacion, ImportaUnaVezConColumnasYAdjuntos) {
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("Pedido d'Ana"), QStringLiteral("Ana O'Brien <o'brien@cliente.test>"),
                                          QStringLiteral("Quiero 3 cajas, it's urgente")), ahora.addSecs(-3600));
    const QByteArray conAdjuntos = pruebas::Correo(QStringLiteral("adjuntos-con-el-mismo-nombre-y-un-nombre-largo.eml"));
    bandeja.Agregar(conAdjuntos, ahora.addSecs(-60));
    Importar();
    auto filas = Filas();
    ASSERT_EQ(filas.size(), 2);
    EXPECT_EQ(filas[0][QStringLiteral("STATUS")], QStringLiteral("TXT"));
    EXPECT_EQ(filas[0][QStringLiteral("DE")], QStringLiteral("obrien@cliente.test"));
    EXPECT_EQ(filas[0][QStringLiteral("NOMBREDE")], QStringLiteral("Ana OBrien"));
    EXPECT_EQ(filas[0][QStringLiteral("ASUNTO")], QStringLiteral("Pedido dAna"));
    EXPECT_TRUE(filas[0][QStringLiteral("MENSAJE")].startsWith(QStringLiteral("Quiero 3 cajas, it\"s urgente")));
    EXPECT_EQ(filas[0][QStringLiteral("FECHAHORA")], ahora.addSecs(-3600).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
    EXPECT_EQ(filas[0][QStringLiteral("USUARIO")], QStringLiteral("ANA"));
    EXPECT_EQ(filas[0][QStringLiteral("CUENTAEMAIL")], QStringLiteral("ventas@demo.test"));
    EXPECT_EQ(filas[0][QStringLiteral("TIPO")], QStringLiteral("R"));
    EXPECT_EQ(filas[0][QStringLiteral("TC")], QStringLiteral("OT"));
    EXPECT_EQ(filas[0][QStringLiteral("ELIMINADO")], QStringLiteral("0"));
    EXPECT_EQ(filas[0][QStringLiteral("IDCONVERSACION")].size(), 32);
    EXPECT_EQ(filas[1][QStringLiteral("CC")], QStringLiteral("jefe@demo.test"));
    const QString uidl = filas[1][QStringLiteral("UIDL")];
    EXPECT_EQ(pruebas::ArchivosBajo(vista.adjuntos),
              (QStringList{uidl + QStringLiteral("/ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWX.finalpdf"),
                           uidl + QStringLiteral("/factura (2).pdf"), uidl + QStringLiteral("/factura.pdf")}));
    EXPECT_EQ(vista.valor, vista.maximo);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    QString aux;
    EXPECT_EQ(common::Cfg(QStringLiteral("ACTUALIZA_OUTLOOK"), aux), QStringLiteral("Ultima Semana"));

    // A second run over the same inbox stores nothing more, but shows each subject.
    vista.estados.clear();
    Importar();
    EXPECT_EQ(Filas().size(), 2);
    EXPECT_TRUE(vista.estados.contains(QStringLiteral("Factura")));
}

TEST_F(Importacion, PeriodosDelAjuste) {
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("hoy"), QStringLiteral("a@x.test"), QStringLiteral("1")), ahora.addSecs(-10));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("hace 4 dias"), QStringLiteral("a@x.test"), QStringLiteral("2")), ahora.addDays(-4));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("hace 6 dias"), QStringLiteral("a@x.test"), QStringLiteral("3")), ahora.addDays(-6));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("hace 40 dias"), QStringLiteral("a@x.test"), QStringLiteral("4")), ahora.addDays(-40));
    struct Caso { const char* ajuste; int filas; };
    const Caso casos[] = {{"Dia Actual", 1}, {"ultimos 3 días", 1}, {"Ultimos 5 Días", 2}, {"ULTIMA SEMANA", 3},
                          {"Ultimo Mes", 3}, {"Ultimos 2 Meses", 4}};
    for (const Caso& c : casos) {
        common::Datos().EjecutarSQL(QStringLiteral("DELETE FROM V_MA_EMAILMOV"));
        common::GrabaDfg(QStringLiteral("ACTUALIZA_OUTLOOK"), QString::fromUtf8(c.ajuste), QString(), false, QStringLiteral("DATOS"), true);
        Importar();
        EXPECT_EQ(Filas().size(), c.filas) << c.ajuste;
    }
    // A value the table does not know: the period test fails and is put to the operator.
    common::Datos().EjecutarSQL(QStringLiteral("DELETE FROM V_MA_EMAILMOV"));
    common::GrabaDfg(QStringLiteral("ACTUALIZA_OUTLOOK"), QStringLiteral("Siempre"), QString(), false, QStringLiteral("DATOS"), true);
    Importar();
    EXPECT_EQ(Filas().size(), 0);
    ASSERT_FALSE(prompts->Preguntas().isEmpty());
    EXPECT_EQ(prompts->Preguntas()[0].estilo & 7, 2);
}

TEST_F(Importacion, EnlaceDeConversacion) {
    const QByteArray original = "From: a@x.test\r\nSubject: Presupuesto\r\nMessage-ID: <raiz@x.test>\r\n\r\nhola\r\n";
    bandeja.Agregar(original, ahora.addSecs(-100));
    Importar();
    common::Datos().EjecutarSQL(QStringLiteral("UPDATE V_MA_EMAILMOV SET IDCOMPROBANTE = 'FAC-0001', CUENTA = 'C0001'"));
    bandeja.Agregar("From: b@x.test\r\nSubject: Re: Presupuesto\r\nMessage-ID: <r2@x.test>\r\n"
                    "In-Reply-To: <raiz@x.test>\r\nReferences: <raiz@x.test>\r\n\r\nok\r\n", ahora.addSecs(-50));
    bandeja.Agregar("From: c@x.test\r\nSubject: Otro tema\r\nMessage-ID: <otro@x.test>\r\n\r\nx\r\n", ahora.addSecs(-40));
    Importar();
    const auto filas = Filas();
    ASSERT_EQ(filas.size(), 3);
    EXPECT_EQ(filas[1][QStringLiteral("IDCOMPROBANTE")], QStringLiteral("FAC-0001"));
    EXPECT_EQ(filas[1][QStringLiteral("CUENTA")], QStringLiteral("C0001"));
    EXPECT_EQ(filas[2][QStringLiteral("IDCOMPROBANTE")], QString());
}

TEST_F(Importacion, NombresHostilesQuedanDentroDeLaCarpeta) {
    const QByteArray m = pruebas::Correo(QStringLiteral("nombres-de-adjunto-hostiles-salen-de-su-carpeta.eml"));
    bandeja.Agregar(m, ahora.addSecs(-30));
    Importar();
    ASSERT_EQ(Filas().size(), 1);
    const QString uidl = Filas()[0][QStringLiteral("UIDL")];
    const QStringList archivos = pruebas::ArchivosBajo(dir.path());
    for (const QString& a : archivos) {
        if (a.startsWith(QStringLiteral("datos/")) || a.startsWith(QStringLiteral("correo/")) || a.startsWith(QStringLiteral("temp/"))) continue;
        EXPECT_TRUE(a.startsWith(QStringLiteral("adjuntos/") + uidl + QLatin1Char('/'))) << a.toStdString();
        EXPECT_LE(QFileInfo(a).fileName().toUtf8().size(), 255);
    }
    EXPECT_GE(pruebas::ArchivosBajo(vista.adjuntos).size(), 5);
}

TEST_F(Importacion, ElementoQueNoEsCorreoNuncaSeInserta) {
    bandeja.Agregar(pruebas::Correo(QStringLiteral("no-es-correo-bytes-sin-cabeceras.eml")), ahora.addSecs(-30));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("bueno"), QStringLiteral("a@x.test"), QStringLiteral("x")), ahora.addSecs(-20));
    Importar();
    Importar();
    ASSERT_EQ(Filas().size(), 1);
    EXPECT_EQ(Filas()[0][QStringLiteral("ASUNTO")], QStringLiteral("bueno"));
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Importacion, CancelarAntesDeEmpezar) {
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("x"), QStringLiteral("a@x.test"), QStringLiteral("x")), ahora.addSecs(-20));
    vista.cancelar = -1;
    Importar();
    EXPECT_EQ(vista.estado, QStringLiteral("Cancelado"));
    EXPECT_EQ(vista.cancelar, 0);
    EXPECT_EQ(Filas().size(), 0);
    Importar();
    EXPECT_EQ(Filas().size(), 1);
}

TEST_F(Importacion, CuentaVaciaOInexistente) {
    Importar(QString());
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_EQ(prompts->Preguntas()[0].texto, QStringLiteral("Debe configurar al menos 1 cuenta"));
    EXPECT_EQ(prompts->Preguntas()[0].titulo, QStringLiteral("Aviso al Operador"));
    prompts->Limpiar();
    Importar(QStringLiteral("nadie@x.test"));
    ASSERT_EQ(prompts->Preguntas().size(), 1);
    EXPECT_EQ(prompts->Preguntas()[0].estilo & 7, 2);  // MostrarError
}

TEST_F(Importacion, TextoEnriquecidoSeGuardaSinCuerpo) {
    bandeja.Agregar(pruebas::Correo(QStringLiteral("texto-enriquecido-con-comando-se-guarda-sin-cuerpo.eml")),
                    ahora.addSecs(-30));
    Importar();
    const auto filas = Filas();
    ASSERT_EQ(filas.size(), 1);
    EXPECT_EQ(filas[0][QStringLiteral("STATUS")], QStringLiteral("RTF"));
    EXPECT_EQ(filas[0][QStringLiteral("MENSAJE")], QString());
}

TEST_F(Importacion, SinCarpetaDeAdjuntosUtilizableNoSeImportaNada) {
    bandeja.Agregar("From: a@x.test\r\nSubject: con adjunto\r\nMIME-Version: 1.0\r\n"
                    "Content-Type: multipart/mixed; boundary=\"B\"\r\n\r\n--B\r\nContent-Type: text/html\r\n\r\n"
                    "<img src=\"cid:i\">\r\n--B\r\nContent-Type: image/png\r\nContent-ID: <i>\r\n"
                    "Content-Disposition: inline; filename=\"i.png\"\r\n\r\nx\r\n--B--\r\n",
                    ahora.addSecs(-60));
    // The import runs from a working directory that must stay untouched.
    QTemporaryDir trabajo;
    struct Volver {
        QString anterior = QDir::currentPath();
        ~Volver() { QDir::setCurrent(anterior); }
    } volver;
    QDir::setCurrent(trabajo.path());
    pruebas::EscribirArchivo(dir.filePath(QStringLiteral("un-archivo")), "x");
    for (const QString& carpeta : {QString(), QStringLiteral("ADJUNTOS"), QStringLiteral("D:\\ADJUNTOS"),
                                   dir.filePath(QStringLiteral("no-existe")), dir.filePath(QStringLiteral("un-archivo"))}) {
        prompts->Limpiar();
        vista.adjuntos = carpeta;
        Importar();
        ASSERT_EQ(prompts->Preguntas().size(), 1) << carpeta.toStdString();
        EXPECT_TRUE(prompts->Preguntas()[0].texto.startsWith(QStringLiteral("La ruta configurada como carpeta de adjuntos")));
        EXPECT_EQ(prompts->Preguntas()[0].estilo, 64);
    }
    EXPECT_TRUE(QDir(trabajo.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("no-existe"))));
    EXPECT_TRUE(Filas().isEmpty());
}

TEST_F(Importacion, OtroImportadorLoGuardoPrimeroSinAvisoNiFilaDoble) {
    for (const char* asunto : {"uno", "dos"})
        bandeja.Agregar(pruebas::MensajeTexto(QString::fromLatin1(asunto), QStringLiteral("a@x.test"), QStringLiteral("x")),
                        ahora.addSecs(-60));
    Importar();  // the other importer, on the same database
    ASSERT_EQ(Filas().size(), 2);
    // This one tested each message before the other stored it: its duplicate
    // test finds nothing, its insert meets the unique key on UIDL.
    auto simulada = std::make_unique<pruebas::ConexionPrueba>(
        platform::db::AbrirConexion({QString(), QStringLiteral("GESTION")}));
    int pruebasDeDuplicado = 0;
    simulada->sustituto = [&](const QString& sql) -> std::unique_ptr<platform::db::Cursor> {
        // Nor did it find them among the account's entries when it started.
        if (sql.startsWith(QStringLiteral("SELECT UIDL FROM V_MA_EMAILMOV")))
            return std::make_unique<pruebas::CursorFijo>(QStringList{QStringLiteral("UIDL")},
                                                         QList<QList<platform::db::Valor>>{});
        if (!sql.startsWith(QStringLiteral("SELECT 1 FROM V_MA_EMAILMOV WHERE UIDL")) || ++pruebasDeDuplicado % 2 == 0)
            return nullptr;
        return std::make_unique<pruebas::CursorFijo>(QStringList{QStringLiteral("1")}, QList<QList<platform::db::Valor>>{});
    };
    auto* s = simulada.get();
    common::Datos().EstablecerConexion(std::move(simulada));
    Importar();
    EXPECT_EQ(s->enviadas.filter(QStringLiteral("INSERT INTO V_MA_EMAILMOV")).size(), 2);
    EXPECT_TRUE(prompts->Preguntas().isEmpty()) << prompts->Preguntas().value(0).texto.toStdString();
    EXPECT_EQ(Filas().size(), 2);
}

namespace {
// Two attachments, so that a failure on the second leaves the first to undo.
QByteArray ConDosAdjuntos(const QString& asunto) {
    return "From: a@x.test\r\nSubject: " + asunto.toUtf8() +
           "\r\nMIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"B\"\r\n\r\n"
           "--B\r\nContent-Type: text/plain\r\n\r\ntexto\r\n"
           "--B\r\nContent-Type: text/plain\r\nContent-Disposition: attachment; filename=\"a.txt\"\r\n\r\nuno\r\n"
           "--B\r\nContent-Type: text/plain\r\nContent-Disposition: attachment; filename=\"b.txt\"\r\n\r\ndos\r\n"
           "--B--\r\n";
}

QStringList Asuntos(const QList<QMap<QString, QString>>& filas) {
    QStringList r;
    for (const auto& f : filas) r << f.value(QStringLiteral("ASUNTO"));
    return r;
}
}  // namespace

// An attachment that cannot be saved: the message is not stored, nothing of
// it is left, the ones after it are; on the third failure it is set aside
// until its account is released.
TEST_F(Importacion, UnMensajeQueNoSeGuardaNoDetieneLaBandeja) {
    const SinOperador sinOperador;
    Resultado() = {};
    bandeja.Agregar(ConDosAdjuntos(QStringLiteral("malo")), ahora.addSecs(-120));
    bandeja.Agregar(ConDosAdjuntos(QStringLiteral("ocupado")), ahora.addSecs(-90));
    bandeja.Agregar(pruebas::MensajeTexto(QStringLiteral("bueno"), QStringLiteral("a@x.test"), QStringLiteral("x")),
                    ahora.addSecs(-60));
    QMap<QString, QString> ids;
    for (const platform::mail::Elemento& e : bandeja.Items()) ids.insert(e.Subject(), e.EntryID());
    // "malo": its folder cannot be made, a file has its name. "ocupado": its
    // folder is there, but a folder stands where its second file goes.
    const QString carpetaMalo = vista.adjuntos + QLatin1Char('/') + ids[QStringLiteral("malo")];
    const QString carpetaOcupado = vista.adjuntos + QLatin1Char('/') + ids[QStringLiteral("ocupado")];
    pruebas::EscribirArchivo(carpetaMalo, "no es una carpeta");
    QDir().mkpath(carpetaOcupado + QStringLiteral("/b.txt"));

    for (int i = 0; i < 4; ++i) Importar();
    EXPECT_EQ(Asuntos(Filas()), QStringList{QStringLiteral("bueno")});
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    EXPECT_EQ(pruebas::LeerArchivo(carpetaMalo), QByteArray("no es una carpeta"));
    EXPECT_EQ(QDir(carpetaOcupado).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("b.txt")});
    // Three attempts each, then the fourth import meets them set aside.
    EXPECT_EQ(Resultado().pasados, 6);
    EXPECT_EQ(Resultado().apartados, 2);
    EXPECT_EQ(Resultado().abandonadas, 0);
    const QString log = QString::fromUtf8(pruebas::LeerArchivo(EnTemporal(QStringLiteral("CVERR.LOG"))));
    for (const QString& asunto : {QStringLiteral("malo"), QStringLiteral("ocupado")}) {
        const QString id = ids[asunto];
        EXPECT_EQ(log.count(QStringLiteral("Cuenta ventas@demo.test: mensaje %1 no importado, se sigue con el siguiente; error 75").arg(id)), 3)
            << log.toStdString();
        EXPECT_EQ(log.count(QStringLiteral("mensaje %1 apartado tras 3 intentos fallidos").arg(id)), 1) << log.toStdString();
    }
    EXPECT_TRUE(log.contains(QStringLiteral("(intento 3 de 3)")));

    // Released, with the obstacles gone: stored with both files.
    EXPECT_EQ(LiberarApartados(QStringLiteral("otra@demo.test")), 0);
    EXPECT_EQ(LiberarApartados(QStringLiteral("ventas@demo.test")), 2);
    QFile::remove(carpetaMalo);
    QDir(carpetaOcupado).removeRecursively();
    Importar();
    EXPECT_EQ(Asuntos(Filas()), (QStringList{QStringLiteral("bueno"), QStringLiteral("malo"), QStringLiteral("ocupado")}));
    EXPECT_EQ(pruebas::LeerArchivo(carpetaOcupado + QStringLiteral("/b.txt")).trimmed(), QByteArray("dos"));
    EXPECT_EQ(FallosDeLaCuenta(QStringLiteral("ventas@demo.test")).value(ids[QStringLiteral("malo")]), 0);
}

// A failure that would leave the import: in the window the dialog stands and
// Ignore passes over the message; unattended it is passed over without one.
TEST_F(Importacion, FalloQueDejariaLaImportacionPasaPorAltoElMensaje) {
    for (const bool desatendido : {false, true}) {
        SCOPED_TRACE(desatendido);
        common::Datos().EstablecerConexion(platform::db::AbrirConexion({QString(), QStringLiteral("GESTION")}));
        common::Datos().EjecutarSQL(QStringLiteral("DELETE FROM V_MA_EMAILMOV"), 0);
        prompts->Limpiar();
        Resultado() = {};
        pruebas::BuzonPrueba buzon{dir.filePath(QStringLiteral("correo")), QStringLiteral("caso%1@demo.test").arg(desatendido)};
        buzon.Agregar(pruebas::MensajeTexto(QStringLiteral("primero"), QStringLiteral("a@x.test"), QStringLiteral("x")),
                      ahora.addSecs(-120));
        buzon.Agregar(pruebas::MensajeTexto(QStringLiteral("segundo"), QStringLiteral("a@x.test"), QStringLiteral("x")),
                      ahora.addSecs(-60));
        auto simulada = std::make_unique<pruebas::ConexionPrueba>(
            platform::db::AbrirConexion({QString(), QStringLiteral("GESTION")}));
        bool fallado = false;
        simulada->sustituto = [&](const QString& sql) -> std::unique_ptr<platform::db::Cursor> {
            if (fallado || !sql.contains(QStringLiteral("IDCONVERSACION"))) return nullptr;
            fallado = true;
            throw platform::runtime::ErrorSistema{3021, QStringLiteral("fallo de prueba"), QStringLiteral("prueba")};
        };
        common::Datos().EstablecerConexion(std::move(simulada));
        std::optional<SinOperador> sinOperador;
        if (desatendido) sinOperador.emplace();
        prompts->Encolar(platform::ui::Respuesta::Ignore);
        vista.cuentas = buzon.Cuenta();
        Importar(buzon.Cuenta());
        EXPECT_EQ(prompts->Preguntas().size(), desatendido ? 0 : 1);
        EXPECT_EQ(Asuntos(Filas()), QStringList{QStringLiteral("segundo")});
        EXPECT_EQ(Resultado().pasados, 1);
        EXPECT_EQ(Resultado().abandonadas, 0);
    }
}

// A link in the inbox is never read; each import names it once in the log.
TEST_F(Importacion, EnlacesDelBuzonSeAnotanUnaVezPorImportacion) {
    const QString real = bandeja.Agregar(
        pruebas::MensajeTexto(QStringLiteral("real"), QStringLiteral("a@x.test"), QStringLiteral("x")), ahora.addSecs(-60));
    const QString enlace = QFileInfo(real).path() + QStringLiteral("/1700000300.M3P1.host:2,S");
    ASSERT_TRUE(QFile::link(QStringLiteral("/etc/passwd"), enlace));
    Importar();
    Importar();
    EXPECT_EQ(Asuntos(Filas()), QStringList{QStringLiteral("real")});
    const QString log = QString::fromUtf8(pruebas::LeerArchivo(EnTemporal(QStringLiteral("CVERR.LOG"))));
    EXPECT_EQ(log.count(QStringLiteral("Cuenta ventas@demo.test: 1 entradas del buzón no son archivos normales y no se leen: ") +
                        enlace),
              2)
        << log.toStdString();
}

namespace {
// Every file opened under a folder while the watcher lives (inotify).
class Aperturas {
public:
    explicit Aperturas(const QString& carpeta) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(fd_, QFile::encodeName(carpeta).constData(), IN_OPEN);
    }
    ~Aperturas() { ::close(fd_); }
    QStringList Nombres() const {
        QStringList nombres;
        alignas(inotify_event) char b[1 << 16];
        ssize_t n;
        while ((n = ::read(fd_, b, sizeof b)) > 0)
            for (char* p = b; p < b + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len) {
                const auto* e = reinterpret_cast<inotify_event*>(p);
                if (e->len > 0) nombres << QFile::decodeName(e->name);
            }
        return nombres;
    }

private:
    int fd_;
};
}  // namespace

// A message already stored is one lookup in the account's set: out of sight
// its file is not even opened; in sight only its header block is, for the label.
// A row of another account with the same identifier still counts as stored,
// though the file is read before the table is asked.
TEST_F(Importacion, MensajeConocidoSinVentanaNoSeAbre) {
    for (const char* asunto : {"uno", "dos", "tres"})
        bandeja.Agregar(pruebas::MensajeTexto(QString::fromLatin1(asunto), QStringLiteral("a@x.test"), QStringLiteral("x")),
                        ahora.addSecs(-60));
    Importar();
    ASSERT_EQ(Filas().size(), 3);
    common::Datos().EjecutarSQL(QStringLiteral("UPDATE V_MA_EMAILMOV SET CuentaEmail = 'otra@demo.test' WHERE ASUNTO = 'dos'"));
    const QString cur = bandeja.Items().Item(1).Ruta().section(QLatin1Char('/'), 0, -2);
    for (const bool aLaVista : {false, true}) {
        SCOPED_TRACE(aLaVista);
        vista.aLaVista = aLaVista;
        vista.estados.clear();
        const Aperturas aperturas(cur);
        Importar();
        EXPECT_EQ(Filas().size(), 3);
        // Only the one stored under another account is read, ahead, before the table says it is known.
        EXPECT_EQ(aperturas.Nombres().size(), aLaVista ? 3 : 1) << aperturas.Nombres().join(u' ').toStdString();
        EXPECT_EQ(vista.estados.contains(QStringLiteral("dos")), aLaVista);
        EXPECT_EQ(vista.valor, vista.maximo);
    }
}

// Cancelling while the messages read ahead fill what may be held: the import
// stops as before, nothing of the later messages is kept, and the next import
// stores them all.
TEST_F(Importacion, CancelarConLaLecturaAnticipadaLlena) {
    auto& limites = platform::mail::LimitesLecturaAnticipada();
    const platform::mail::LimitesLectura antes = limites;
    struct Restaurar {
        platform::mail::LimitesLectura& l;
        platform::mail::LimitesLectura v;
        ~Restaurar() { l = v; }
    } restaurar{limites, antes};
    limites = {4096, 3};
    constexpr int Mensajes = 30;
    for (int i = 0; i < Mensajes; ++i)
        bandeja.Agregar(ConDosAdjuntos(QStringLiteral("m%1").arg(i, 2, 10, QLatin1Char('0'))), ahora.addSecs(-600 + i));
    vista.alMostrar = [&](const QString& t) {
        if (t == QStringLiteral("m01")) vista.cancelar = -1;
    };
    Importar();
    EXPECT_EQ(Asuntos(Filas()), QStringList{QStringLiteral("m00")});
    EXPECT_EQ(vista.estado, QStringLiteral("Cancelado"));
    EXPECT_EQ(vista.cancelar, 0);
    EXPECT_EQ(vista.valor, vista.maximo);
    EXPECT_EQ(pruebas::ArchivosBajo(vista.adjuntos).size(), 2);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());

    vista.alMostrar = nullptr;
    Importar();
    EXPECT_EQ(Filas().size(), Mensajes);
    EXPECT_EQ(pruebas::ArchivosBajo(vista.adjuntos).size(), 2 * Mensajes);
}
