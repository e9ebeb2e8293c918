#include "ServidorPrueba.h"

#include "ApoyoPruebas.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pruebas {

namespace {

constexpr int EsperaArranqueMs = 20000;

Certificado Generar(const QString& carpeta) {
    Certificado c{carpeta + QStringLiteral("/certificado.pem"), carpeta + QStringLiteral("/clave.pem")};
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"), c.clave,
                   QStringLiteral("-out"), c.certificado});
    openssl.waitForFinished(EsperaArranqueMs);
    return c;
}

}  // namespace

const Certificado& CertificadoPrueba() {
    static QTemporaryDir carpeta;
    static const Certificado certificado = Generar(carpeta.path());
    return certificado;
}

ServidorSmtp::ServidorSmtp(const Opciones& opciones) {
    QStringList argumentos{QStringLiteral(RUTA_DATOS_PRUEBA "/servidor_smtp.py"), carpeta_.path(),
                           QStringLiteral("--tls"), opciones.tls};
    if (!opciones.usuario.isEmpty())
        argumentos << QStringLiteral("--usuario") << opciones.usuario << QStringLiteral("--clave")
                   << opciones.clave;
    if (opciones.tls != QStringLiteral("no"))
        argumentos << QStringLiteral("--certificado") << CertificadoPrueba().certificado
                   << QStringLiteral("--clave-privada") << CertificadoPrueba().clave;
    proceso_.start(Python(), argumentos);
    // The server prints its port once it listens.
    while (!proceso_.canReadLine() && proceso_.waitForReadyRead(EsperaArranqueMs)) {}
    puerto_ = QString::fromLatin1(proceso_.readLine()).trimmed().toInt();
    if (puerto_ <= 0)
        fallo_ = QStringLiteral("el servidor SMTP de prueba no arrancó: ") +
                 QString::fromUtf8(proceso_.readAllStandardError());
}

ServidorSmtp::~ServidorSmtp() {
    // Closing its input stops it.
    proceso_.closeWriteChannel();
    if (!proceso_.waitForFinished(EsperaArranqueMs)) proceso_.kill();
    proceso_.waitForFinished();
}

QList<Recibido> ServidorSmtp::Recibidos() const {
    QList<Recibido> recibidos;
    const QDir dir(carpeta_.path());
    for (const QString& json : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        const QString base = dir.filePath(json.chopped(5));
        recibidos.append({QJsonDocument::fromJson(LeerArchivo(base + QStringLiteral(".json"))).object(),
                          LeerArchivo(base + QStringLiteral(".eml"))});
    }
    return recibidos;
}

int ServidorSmtp::Conexiones() const {
    return static_cast<int>(
        LeerArchivo(carpeta_.filePath(QStringLiteral("conexiones.log"))).count('\n'));
}

void ServidorSmtp::Comportamiento(const QJsonObject& comportamiento) {
    const QString ruta = carpeta_.filePath(QStringLiteral("comportamiento"));
    QFile archivo(ruta + QStringLiteral(".tmp"));
    if (archivo.open(QIODevice::WriteOnly)) archivo.write(QJsonDocument(comportamiento).toJson());
    archivo.close();
    QFile::remove(ruta);
    QFile::rename(ruta + QStringLiteral(".tmp"), ruta);
}

int PuertoCerrado() {
    const int zocalo = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in direccion{};
    direccion.sin_family = AF_INET;
    direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t largo = sizeof direccion;
    ::bind(zocalo, reinterpret_cast<sockaddr*>(&direccion), largo);
    ::getsockname(zocalo, reinterpret_cast<sockaddr*>(&direccion), &largo);
    ::close(zocalo);
    return ntohs(direccion.sin_port);
}

std::shared_ptr<platform::smtp::Configuracion> ConfiguracionPara(const Cuenta& cuenta) {
    using namespace platform::smtp;
    auto configuracion = std::make_shared<Configuracion>();
    configuracion->Load(OrigenDefecto);
    CamposConfiguracion& campos = configuracion->Fields();
    campos.Item(NombreCompleto(NombreCampo::SendUsing)) = 2;
    campos.Item(NombreCompleto(NombreCampo::SmtpServer)) = cuenta.servidor;
    campos.Item(NombreCompleto(NombreCampo::SmtpServerPort)) = QString::number(cuenta.puerto);
    campos.Item(NombreCompleto(NombreCampo::SmtpAuthenticate)) = cuenta.usuario.isEmpty() ? 0 : 1;
    campos.Item(NombreCompleto(NombreCampo::SendUserName)) = cuenta.usuario;
    campos.Item(NombreCompleto(NombreCampo::SendPassword)) = cuenta.clave;
    campos.Item(NombreCompleto(NombreCampo::SmtpUseSsl)) = cuenta.ssl;
    campos.Update();
    return configuracion;
}

platform::runtime::ErrorSistema ErrorAlEnviar(platform::smtp::Mensaje& mensaje) {
    try {
        mensaje.Send();
    } catch (const platform::runtime::ErrorSistema& e) {
        return e;
    }
    return {};
}

}  // namespace pruebas
