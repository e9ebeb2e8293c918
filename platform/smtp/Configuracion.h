#pragma once
// The sending configuration, used as the old configuration object was:
// Load(-1) for the defaults, then Fields().Item(nombre) = valor for each
// field and Fields().Update(). What was written takes effect at Update().
#include <QString>
#include <QVariant>

#include <map>

namespace platform::smtp {

// Every field name starts with this prefix, as the old object documented it.
inline constexpr char PrefijoCampos[] = "http://schemas.microsoft.com/cdo/configuration/";

// The fields the sender reads, without the prefix.
namespace NombreCampo {
inline constexpr char SendUsing[] = "sendusing";          // 2: through an SMTP port
inline constexpr char SmtpServer[] = "smtpserver";        // host name or address
inline constexpr char SmtpServerPort[] = "smtpserverport";  // text; empty is 25
inline constexpr char SmtpAuthenticate[] = "smtpauthenticate";  // 0 none, 1 user and password
inline constexpr char SendUserName[] = "sendusername";
inline constexpr char SendPassword[] = "sendpassword";
inline constexpr char SmtpUseSsl[] = "smtpusessl";        // Boolean
}  // namespace NombreCampo

// The full field name: the prefix followed by the short name.
QString NombreCompleto(const char* nombreCorto);

// The only configuration source there is: the defaults.
inline constexpr int OrigenDefecto = -1;

// One field: read its value, or assign one.
class Campo {
public:
    explicit Campo(const QString& nombre) : nombre_(nombre) {}
    QString Name() const { return nombre_; }
    QVariant Value() const { return valor_; }
    Campo& operator=(const QVariant& valor) {
        valor_ = valor;
        return *this;
    }
    operator QVariant() const { return valor_; }

private:
    QString nombre_;
    QVariant valor_;
};

class Configuracion;

// The field collection. Names are compared without regard to case; a name
// not seen before is added on first use, as any other field.
class CamposConfiguracion {
public:
    Campo& Item(const QString& nombre);
    int Count() const { return static_cast<int>(campos_.size()); }
    // Puts the written values into effect. A value the sender cannot use
    // (a port that is not a number, say) raises 3749 and changes nothing.
    void Update();

private:
    friend class Configuracion;
    explicit CamposConfiguracion(Configuracion* configuracion) : configuracion_(configuracion) {}

    Configuracion* configuracion_;
    std::map<QString, Campo> campos_;  // lower-case name -> field
};

class Configuracion {
public:
    Configuracion();
    Configuracion(const Configuracion&) = delete;
    Configuracion& operator=(const Configuracion&) = delete;

    // -1 loads the defaults (every field empty). Other sources of the old
    // platform do not exist here and raise 5.
    void Load(int origen);
    CamposConfiguracion& Fields() { return campos_; }

    // The value in effect since the last Update(); invalid when never set.
    QVariant Valor(const QString& nombre) const;
    QVariant Valor(const char* nombreCorto) const { return Valor(NombreCompleto(nombreCorto)); }

private:
    friend class CamposConfiguracion;

    CamposConfiguracion campos_;
    std::map<QString, QVariant> vigentes_;  // lower-case name -> value
};

}  // namespace platform::smtp
