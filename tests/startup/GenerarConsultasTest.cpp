#include "startup/GenerarConsultas.h"
#include "common/Contexto.h"
#include "platform/runtime/ErrorSistema.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace startup;

namespace {
QByteArray Relleno(const char* texto, int ancho) {
    QByteArray b(texto);
    return b + QByteArray(ancho - b.size(), ' ');
}
}  // namespace

TEST(GenerarConsultas, OnceRegistrosDe1202Bytes) {
    QTemporaryDir dir;
    common::ReiniciarContexto();
    const QString ruta = dir.filePath(QStringLiteral("consultas.crv"));
    common::Consultas().SetRutaCatalogo(ruta);
    GenerarConsultas();

    const QByteArray archivo = pruebas::LeerArchivo(ruta);
    ASSERT_EQ(archivo.size(), 13222);
    const struct {
        const char* nombre;
        const char* tabla;
        const char* campos;
    } esperados[] = {
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
    for (int i = 0; i < 11; ++i) {
        const QByteArray r = archivo.mid(i * 1202, 1202);
        EXPECT_EQ(r, Relleno(esperados[i].nombre, 100) + Relleno(esperados[i].tabla, 100) +
                         Relleno(esperados[i].campos, 500) + QByteArray(500, ' ') + "\r\n")
            << "registro " << i + 1;
    }
    // Also eleven text lines of 1200 characters.
    const QList<QByteArray> lineas = archivo.split('\n');
    ASSERT_EQ(lineas.size(), 12);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(lineas[i].size(), 1201);  // with its CR
    EXPECT_EQ(archivo.mid(8 * 1202 + 100, 100), Relleno("V_TA_Tareas", 100));
    common::ReiniciarContexto();
}

TEST(GenerarConsultas, TextoEnPaginaAnsiRellenadoOCortado) {
    const QByteArray r = RegistroConsulta(QStringLiteral("  Área €  "), QStringLiteral(" Ω ") + QString(120, QLatin1Char('t')),
                                          QStringLiteral(" |Año| "));
    ASSERT_EQ(r.size(), 1202);
    EXPECT_EQ(r.left(7), QByteArray("\xC1rea \x80 "));   // trimmed, Windows-1252
    EXPECT_EQ(r.mid(100, 4), QByteArray(" ? t"));         // the table name is not trimmed
    EXPECT_EQ(r.mid(100, 100).count('t'), 97);            // cut at its width
    EXPECT_EQ(r.mid(200, 6), QByteArray("|A\xF1o| "));
    EXPECT_EQ(r.right(2), QByteArray("\r\n"));
}

TEST(GenerarConsultas, CarpetaInexistenteFallaCon75) {
    QTemporaryDir dir;
    common::ReiniciarContexto();
    common::Consultas().SetRutaCatalogo(dir.filePath(QStringLiteral("no/existe/consultas.crv")));
    try {
        GenerarConsultas();
        ADD_FAILURE() << "no falló";
    } catch (const platform::runtime::ErrorSistema& e) {
        EXPECT_EQ(e.Numero, 75);
    }
    common::ReiniciarContexto();
}
