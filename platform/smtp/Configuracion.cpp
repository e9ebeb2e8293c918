#include "platform/smtp/Configuracion.h"

#include "platform/runtime/ErrorSistema.h"

namespace platform::smtp {

namespace {

QString Clave(const QString& nombre) { return nombre.trimmed().toLower(); }

bool Vacio(const QVariant& v) { return !v.isValid() || v.isNull() || v.toString().trimmed().isEmpty(); }

// An integer, from a number or a text holding one.
bool Entero(const QVariant& v, int minimo, int maximo) {
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok && n >= minimo && n <= maximo;
}

// A Boolean as the old variants converted it: true/false, or a number.
bool Logico(const QVariant& v) {
    if (v.typeId() == QMetaType::Bool) return true;
    const QString t = v.toString().trimmed();
    bool numero = false;
    t.toLong(&numero);
    return numero || t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 ||
           t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0;
}

// Why a value cannot be used by the sender, or empty when it can.
QString Defecto(const QString& clave, const QVariant& v) {
    if (Vacio(v)) return {};
    if (clave == NombreCompleto(NombreCampo::SmtpServerPort) && !Entero(v, 1, 65535))
        return QStringLiteral("el puerto del servidor no es un número válido");
    if (clave == NombreCompleto(NombreCampo::SendUsing) && !Entero(v, 1, 3))
        return QStringLiteral("el modo de envío no es válido");
    if (clave == NombreCompleto(NombreCampo::SmtpAuthenticate) && !Entero(v, 0, 2))
        return QStringLiteral("el tipo de autenticación no es válido");
    if (clave == NombreCompleto(NombreCampo::SmtpUseSsl) && !Logico(v))
        return QStringLiteral("el indicador de SSL no es verdadero ni falso");
    return {};
}

}  // namespace

QString NombreCompleto(const char* nombreCorto) {
    return QString::fromLatin1(PrefijoCampos) + QString::fromLatin1(nombreCorto);
}

Campo& CamposConfiguracion::Item(const QString& nombre) {
    const QString clave = Clave(nombre);
    auto it = campos_.find(clave);
    if (it == campos_.end()) it = campos_.emplace(clave, Campo(nombre.trimmed())).first;
    return it->second;
}

void CamposConfiguracion::Update() {
    for (const auto& [clave, campo] : campos_) {
        const QString defecto = Defecto(clave, campo.Value());
        if (!defecto.isEmpty())
            runtime::Lanzar(runtime::Err::ActualizacionFallida,
                            QStringLiteral("No se pudieron actualizar los campos: %1.").arg(defecto));
    }
    for (const auto& [clave, campo] : campos_) configuracion_->vigentes_[clave] = campo.Value();
}

Configuracion::Configuracion() : campos_(this) {}

void Configuracion::Load(int origen) {
    if (origen != OrigenDefecto)
        runtime::Lanzar(runtime::Err::ArgumentoNoValido,
                        QStringLiteral("Origen de configuración no disponible: %1").arg(origen));
    campos_.campos_.clear();
    vigentes_.clear();
}

QVariant Configuracion::Valor(const QString& nombre) const {
    const auto it = vigentes_.find(Clave(nombre));
    return it == vigentes_.end() ? QVariant() : it->second;
}

}  // namespace platform::smtp
