#include "startup/GenerarConsultas.h"

#include "common/Contexto.h"
#include "platform/runtime/ErrorSistema.h"

#include <QFile>

namespace startup {

using namespace platform::runtime;

namespace {

struct Entrada {
    const char* nombre;
    const char* tabla;
    const char* campos;
};

constexpr Entrada Entradas[] = {
    {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
    {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
    {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
    {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
    {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
    {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
    {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
    {"CUENTAS", "MA_CUENTAS", "|DESCRIPCION|CODIGO|"},
    {"TAREAS", "V_TA_Tareas", "|Descripcion|IdTarea|"},
    {"UnidadNegocio", "V_TA_UnidadNegocio", "|Descripcion|Codigo|"},
    {"DEPOSITO", "V_TA_DEPOSITO", "|Descripcion|IdDeposito|"},
};

// One byte per character in the Windows ANSI code page (1252); characters
// it lacks become "?", as the old conversion did.
char Cp1252(QChar c) {
    static const char16_t altos[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (int i = 0; i < 32; ++i)
        if (altos[i] != 0 && altos[i] == u) return static_cast<char>(0x80 + i);
    return '?';
}

QByteArray Campo(const QString& texto, int ancho) {
    QByteArray bytes(ancho, ' ');
    const qsizetype n = std::min<qsizetype>(texto.size(), ancho);
    for (qsizetype i = 0; i < n; ++i) bytes[i] = Cp1252(texto[i]);
    return bytes;
}

}  // namespace

QByteArray RegistroConsulta(const QString& nombre, const QString& tabla, const QString& campos) {
    QByteArray registro;
    registro.reserve(LongitudRegistroConsulta);
    registro += Campo(nombre.trimmed(), 100);
    registro += Campo(tabla, 100);
    registro += Campo(campos.trimmed(), 500);
    registro += Campo(QString(), 500);
    registro += "\r\n";
    return registro;
}

void GenerarConsultas() {
    const QString ruta = common::Consultas().RutaCatalogo();
    if (ruta.isEmpty()) Lanzar(Err::ArchivoIncorrecto);
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadWrite))
        Lanzar(Err::ErrorAccesoRuta, DescripcionError(Err::ErrorAccesoRuta) + QStringLiteral(": ") + ruta);
    for (const Entrada& e : Entradas) {
        // Appended: the record after the last whole one in the file.
        const qint64 numero = archivo.size() / LongitudRegistroConsulta + 1;
        const QByteArray registro = RegistroConsulta(QString::fromLatin1(e.nombre),
                                                     QString::fromLatin1(e.tabla),
                                                     QString::fromLatin1(e.campos));
        if (!archivo.seek((numero - 1) * LongitudRegistroConsulta) ||
            archivo.write(registro) != registro.size())
            Lanzar(Err::ErrorAccesoRuta, DescripcionError(Err::ErrorAccesoRuta) + QStringLiteral(": ") + ruta);
    }
    if (!archivo.flush())
        Lanzar(Err::ErrorAccesoRuta, DescripcionError(Err::ErrorAccesoRuta) + QStringLiteral(": ") + ruta);
    archivo.close();
}

}  // namespace startup
