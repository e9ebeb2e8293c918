#include "reception/Form1.h"

#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "common/Ranura.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"
#include "platform/ui/MsgBox.h"
#include "reception/CarpetaAdjuntos.h"
#include "reception/CicloRecepcion.h"
#include "startup/IniciarSistema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace reception {

using namespace platform::runtime;

namespace {
// Positions are given in twips; 15 twips are one pixel at 96 dpi.
QRect Twips(int izquierda, int arriba, int ancho, int alto) {
    return QRect(izquierda / 15, arriba / 15, ancho / 15, alto / 15);
}

// The load's failure rule: 52 means the attachments folder cannot be
// reached; anything else is put to the operator.
Manejador ReglaCarga() {
    return [](const ErrorSistema& e) {
        if (e.Numero == Err::ArchivoIncorrecto) {
            AvisarCarpetaAdjuntos();
            return Accion::Salir;
        }
        return AccionPorRespuesta(common::Util().MostrarError(e));
    };
}
}  // namespace

Form1::Form1(QWidget* padre) : QWidget(padre), ciclo_(std::make_unique<CicloRecepcion>(*this)) {
    CrearControles();
}

Form1::~Form1() = default;

void Form1::CrearControles() {
    setWindowTitle(QStringLiteral("Recepcion de Email"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("mail-receive"),
                                   QIcon(QStringLiteral(":/iconos/recibir.xpm"))));
    setFixedSize(4425 / 15, 3960 / 15);
    // The design's small captions fit their buttons at 8 points.
    QFont letra = font();
    letra.setPointSize(8);
    setFont(letra);

    cmdRecibir_ = new QPushButton(QStringLiteral("Recibir"), this);
    cmdRecibir_->setGeometry(Twips(120, 120, 4095, 1335));
    cmdRecibir_->setIcon(QIcon::fromTheme(QStringLiteral("mail-receive"),
                                          QIcon(QStringLiteral(":/iconos/recibir.xpm"))));
    cmdRecibir_->setIconSize(QSize(18, 18));

    cmbCuentas_ = new QComboBox(this);
    cmbCuentas_->setEditable(true);
    // The text names the account to receive; Enter must not add it to the list.
    cmbCuentas_->setInsertPolicy(QComboBox::NoInsert);
    cmbCuentas_->setEditText(QStringLiteral("Combo1"));
    cmbCuentas_->setGeometry(Twips(120, 1560, 4095, 315));

    lblStatus_ = new QLabel(QStringLiteral("..."), this);
    lblStatus_->setGeometry(Twips(120, 2040, 4095, 375));

    pbMail_ = new QProgressBar(this);
    pbMail_->setGeometry(Twips(0, 2520, 4455, 375));
    pbMail_->setTextVisible(false);
    pbMail_->setRange(0, 100);
    pbMail_->setValue(0);

    chkHabilitar_ = new QCheckBox(QStringLiteral("Deshabilitar"), this);
    chkHabilitar_->setGeometry(Twips(0, 3000, 2175, 255));

    cmdCancelar_ = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancelar_->setGeometry(Twips(2880, 3000, 1455, 375));

    command2_ = new QPushButton(QStringLiteral("Command2"), this);
    command2_->setGeometry(Twips(1200, 3480, 855, 375));

    // Below the client area: never seen, no action.
    command1_ = new QPushButton(QStringLiteral("Command1"), this);
    command1_->setGeometry(Twips(1440, 4200, 2655, 375));

    // Tab indexes 0..7: Recibir, Cancelar, PbMail, LblStatus, CmbCuentas,
    // Deshabilitar, Command1, Command2 (bar and label take no focus).
    setTabOrder(cmdRecibir_, cmdCancelar_);
    setTabOrder(cmdCancelar_, cmbCuentas_);
    setTabOrder(cmbCuentas_, chkHabilitar_);
    setTabOrder(chkHabilitar_, command1_);
    setTabOrder(command1_, command2_);

    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control != command1_) diseno_.insert(control, control->geometry());
    AjustarAlTexto();

    timer2_ = new QTimer(this);

    // The slots that can fail run through Ranura: what escapes is shown, never a crash.
    connect(cmdCancelar_, &QPushButton::clicked, this, [this] { cancelarRecepcion_ = -1; });
    using common::Ranura;
    connect(cmdRecibir_, &QPushButton::clicked, this, Ranura([this] { ciclo_->Recibir(); }));
    connect(command2_, &QPushButton::clicked, this, Ranura([this] { ciclo_->Prueba(); }));
    connect(timer2_, &QTimer::timeout, this, Ranura([this] { ciclo_->Tick(); }));
}

// The design's sizes were made for one font; at another (another dpi, a
// larger system font) a caption would be clipped. Each control grows about
// its centre to the size its text needs, inside the window; the layout stays.
void Form1::AjustarAlTexto() {
    const QRect ventana = rect();
    for (auto it = diseno_.cbegin(); it != diseno_.cend(); ++it) {
        QWidget* control = it.key();
        QRect r = it.value();
        const QSize necesita = control->sizeHint();
        // The combo box and the status line show changing texts: only their height follows the font.
        const bool soloAlto = control == cmbCuentas_ || control == lblStatus_ || control == pbMail_;
        const int ancho = soloAlto ? r.width() : std::max(r.width(), necesita.width());
        const int alto = std::max(r.height(), necesita.height());
        QRect nuevo(0, 0, std::min(ancho, ventana.width()), std::min(alto, ventana.height()));
        nuevo.moveCenter(r.center());
        // Kept inside the window (the bar's design is a little wider than it).
        nuevo.moveLeft(std::clamp(nuevo.left(), 0, ventana.width() - nuevo.width()));
        nuevo.moveTop(std::clamp(nuevo.top(), 0, ventana.height() - nuevo.height()));
        control->setGeometry(nuevo);
    }
}

void Form1::changeEvent(QEvent* evento) {
    QWidget::changeEvent(evento);
    if (evento->type() == QEvent::FontChange || evento->type() == QEvent::StyleChange) AjustarAlTexto();
    if (evento->type() == QEvent::WindowStateChange) MostrarValorBarra();
}

void Form1::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    MostrarValorBarra();
}

void Form1::MostrarValorBarra() {
    // Unattended, nobody looks at the window: the bar is never told.
    if (!platform::ui::Desatendido() && isVisible() && !isMinimized()) pbMail_->setValue(valorBarra_);
}

void Form1::Cargar() {
    QString textoConexion;
    EjecutarPasos(ReglaCarga(), {
        // 1
        [&] { startup::IniciarSistema(false, QString(), textoConexion, 3); },
        // 2
        [&] {
            QString aux;
            carpetaAdjuntos_ = common::Cfg(QStringLiteral("EMAIL_CARPETAADJUNTOS"), aux).trimmed();
        },
        // 3
        [&] {
            cmbCuentas_->setVisible(true);
            cmbCuentas_->setEditText(QString());
        },
        // 4
        [&] { LlenarCuentas(); },
        // 5
        [&] { AsegurarCarpetaAdjuntos(); },
        // 6
        [&] { AsegurarCarpetaMails(); },
        // 7
        [&] {
            timer2_->setInterval(65535);
            timer2_->start();
        },
    });
}

void Form1::Abrir() {
    Cargar();
    show();
}

void Form1::LlenarCuentas() {
    platform::db::Recordset rs;
    common::Datos().AbrirRecordset(
        QStringLiteral("select CUENTAEMAIL AS EMAIL from V_MA_EMAILMOV GROUP BY CUENTAEMAIL"), rs,
        nullptr, platform::db::Cursores::ForwardOnly, platform::db::Bloqueos::ReadOnly);
    if (rs.Bof() && rs.Eof()) return;
    cmbCuentas_->addItem(QStringLiteral("Todas"));
    while (!rs.Eof()) {
        EjecutarPasosAnidados(ReglaCarga(), {
            [&] {
                const QString valor = common::Util().NoNulo(rs.Fields(QStringLiteral("eMail")).Value());
                if (!valor.trimmed().isEmpty()) cmbCuentas_->addItem(valor);
            },
            [&] { rs.MoveNext(); },
        });
    }
    // Filling the list must not change the text the load cleared.
    cmbCuentas_->setEditText(QString());
}

void Form1::AsegurarCarpetaAdjuntos() {
    auto& util = common::Util();
    const QString aplicacion = util.RutaConBarra(CarpetaAplicacion());
    const auto guardar = [](const QString& carpeta) {
        common::GrabaDfg(QStringLiteral("EMAIL_CARPETAADJUNTOS"), carpeta, QString(), false,
                         QStringLiteral("DATOS"), true);
    };
    // Folders keep normal permissions: a read-only folder would refuse the
    // attachments on this platform. A folder that is already there is not a
    // failure: a second database, or a lost setting, finds it made.
    const auto asegurar = [](const QString& carpeta) {
        if (!ExisteRuta(carpeta)) CrearCarpeta(carpeta);
    };
    if (carpetaAdjuntos_.isEmpty()) {
        const QString adjuntos = aplicacion + QStringLiteral("EMAIL/ADJUNTOS/");
        EjecutarPasosAnidados(ReglaCarga(), {
            [&] { asegurar(aplicacion + QStringLiteral("EMAIL/")); },
            [&] { asegurar(adjuntos); },
            [&] { guardar(adjuntos); },
            [&] { carpetaAdjuntos_ = adjuntos; },
        });
    } else if (!ExisteRuta(carpetaAdjuntos_)) {
        EjecutarPasosAnidados(ReglaCarga(), {
            [&] { CrearCarpeta(carpetaAdjuntos_); },
            [&] { guardar(carpetaAdjuntos_); },
        });
    }
    // The import saves nowhere else: a folder that still cannot be used ends
    // the load with the message about it, and the timer is not armed.
    if (!CarpetaAdjuntosUtilizable(carpetaAdjuntos_)) Lanzar(Err::ArchivoIncorrecto);
}

void Form1::AsegurarCarpetaMails() {
    const QString mails = common::Util().RutaConBarra(CarpetaAplicacion()) + QStringLiteral("Mails/");
    if (!ExisteRuta(mails)) CrearCarpeta(mails);
}

QString Form1::TextoCuentas() const { return cmbCuentas_->currentText(); }
void Form1::SetTextoCuentas(const QString& texto) { cmbCuentas_->setEditText(texto); }
QString Form1::Estado() const { return lblStatus_->text(); }
void Form1::MostrarEstado(const QString& texto) {
    lblStatus_->setText(texto);
    lblStatus_->repaint();
}
bool Form1::EstadoALaVista() const {
    if (platform::ui::Desatendido() || !isVisible() || isMinimized()) return false;
    const QWindow* ventana = windowHandle();
    return ventana && ventana->isExposed();
}
// An empty range is Qt's endless busy animation: an empty inbox shows a
// bar of one step instead, filled when the import ends.
void Form1::SetRangoBarra(int minimo, int maximo) {
    pbMail_->setValue(valorBarra_);
    pbMail_->setRange(minimo, std::max(maximo, minimo + 1));
    valorBarra_ = pbMail_->value();
}
void Form1::SetValorBarra(int valor) {
    if (valor < pbMail_->minimum() || valor > pbMail_->maximum()) return;  // as the bar itself does
    valorBarra_ = valor;
    MostrarValorBarra();
}
int Form1::MaximoBarra() const { return pbMail_->maximum(); }
int Form1::ValorBarra() const { return valorBarra_; }
void Form1::MarcarImportando(bool importando) { cmdRecibir_->setEnabled(!importando); }
bool Form1::Deshabilitado() const { return chkHabilitar_->isChecked(); }
void Form1::RestablecerPuntero() {
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    unsetCursor();
}

}  // namespace reception
