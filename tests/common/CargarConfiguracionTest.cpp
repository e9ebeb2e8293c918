#include "common/CargarConfiguracion.h"
#include "BasePrueba.h"

#include <functional>
#include <utility>

using namespace common;

namespace {

struct Caso {
    const char* nombre;
    QList<std::pair<QString, QString>> filas;
    std::function<QVariant()> leer;
    QVariant esperado;
};

void PrintTo(const Caso& c, std::ostream* os) { *os << c.nombre; }

QString T(const char* s) { return QString::fromUtf8(s); }

class Carga : public pruebas::BaseConectada {
protected:
    QString ruta = QStringLiteral("/opt/recepcion/");
    void Cargar() { CargarConfiguracion(ruta); }
};

class ReglasDeCarga : public Carga, public ::testing::WithParamInterface<Caso> {};

const auto& A = Ajustes;
QVariant V(bool b) { return QVariant(b); }

const Caso casos[] = {
    // SI-flag: only "SI", as read.
    {"SiFlagSi", {{T("UTILIZARFECHADIA"), T("SI")}}, [] { return V(A().UtilizarFechaDia); }, V(true)},
    {"SiFlagMinusculas", {{T("UTILIZARFECHADIA"), T("si")}}, [] { return V(A().UtilizarFechaDia); }, V(true)},
    {"SiFlagConBlancos", {{T("UTILIZARFECHADIA"), T(" SI")}}, [] { return V(A().UtilizarFechaDia); }, V(false)},
    {"SiFlagFalta", {}, [] { return V(A().UtilizarFechaDia); }, V(false)},
    {"SiFlagRecortado", {{T("RazonSocialPorUneg"), T(" SI ")}}, [] { return V(A().RazonSocialPorUneg); }, V(true)},
    {"SiFlagPrimeraFila", {{T("MostrarStockenConsultas"), T("SI")}}, [] { return V(A().MostrarStockEnConsultas); }, V(true)},
    // not-NO flag.
    {"NoNoFalta", {}, [] { return V(A().ModuloOrdenDeTrabajo); }, V(true)},
    {"NoNoMinusculas", {{T("ModuloOrdenDeTrabajo"), T("no")}}, [] { return V(A().ModuloOrdenDeTrabajo); }, V(false)},
    {"NoNoRecortado", {{T("ModuloOrdenDeTrabajo"), T(" NO ")}}, [] { return V(A().ModuloOrdenDeTrabajo); }, V(false)},
    // set-and-not-NO flag: empty is false, then "NO" as read.
    {"PuestoFalta", {}, [] { return V(A().Maderera); }, V(false)},
    {"PuestoNo", {{T("MADERERA"), T("NO")}}, [] { return V(A().Maderera); }, V(false)},
    {"PuestoSi", {{T("MADERERA"), T("SI")}}, [] { return V(A().Maderera); }, V(true)},
    {"PuestoOtro", {{T("MADERERA"), T("tal vez")}}, [] { return V(A().Maderera); }, V(true)},
    {"PuestoNoConBlanco", {{T("PideClave_StockNeg"), T(" NO")}}, [] { return V(A().PideClaveStockNeg); }, V(true)},
    // integer rule: leading number, halves to even.
    {"EnteroMitadPar", {{T("CONDIVAEMPRESA"), T("2.5")}}, [] { return QVariant(A().CondIvaEmpresa); }, QVariant(2)},
    {"EnteroMitadImpar", {{T("CONDIVAEMPRESA"), T("3.5")}}, [] { return QVariant(A().CondIvaEmpresa); }, QVariant(4)},
    {"EnteroNumeroInicial", {{T("PERIODO"), T(" 1 2abc")}}, [] { return QVariant(A().Periodo); }, QVariant(12)},
    {"EnteroSinNumero", {{T("PERIODO"), T("abc")}}, [] { return QVariant(A().Periodo); }, QVariant(0)},
    {"CondIvaDeReserva", {{T("CONDIVAEMPRESA"), T("0")}, {T("CONDIVA"), T("2")}}, [] { return QVariant(A().CondIvaEmpresa); }, QVariant(2)},
    {"CondIvaFalta", {}, [] { return QVariant(A().CondIvaEmpresa); }, QVariant(1)},
    // number rule.
    {"Numero", {{T("MaxDto"), T(" 12.34567 ")}}, [] { return QVariant(A().MaxDto); }, QVariant(12.3457)},
    {"NumeroSinNumero", {{T("MaxDtoProforma"), T("x")}}, [] { return QVariant(A().MaxDtoProforma); }, QVariant(0.0)},
    // colour rule with its 0 defaults.
    {"FondoFalta", {}, [] { return QVariant(Contexto().ColorFondo); }, QVariant(16776960)},
    {"FondoCero", {{T("CFondo"), T("0")}}, [] { return QVariant(Contexto().ColorFondo); }, QVariant(16776960)},
    {"Fondo255", {{T("CFondo"), T("255")}}, [] { return QVariant(Contexto().ColorFondo); }, QVariant(255)},
    {"LetraFalta", {}, [] { return QVariant(Contexto().ColorLetra); }, QVariant(0)},
    {"LetraMitad", {{T("CLetra"), T("254.5")}}, [] { return QVariant(Contexto().ColorLetra); }, QVariant(254)},
    // texts.
    {"TextoRecortado", {{T("TituloClientes"), T("  Socios  ")}}, [] { return QVariant(A().TituloClientes); }, QVariant(T("Socios"))},
    {"DecimalesFalta", {}, [] { return QVariant(A().CantidadDecimales); }, QVariant(T(" "))},
    {"DecimalesSinRecortar", {{T("CantidadDecimales"), T(" 2 ")}}, [] { return QVariant(A().CantidadDecimales); }, QVariant(T(" 2 "))},
    {"TopFalta", {}, [] { return QVariant(A().TopDefault); }, QVariant(T("1000"))},
    {"TopBlanco", {{T("Top_Default"), T("   ")}}, [] { return QVariant(A().TopDefault); }, QVariant(T("1000"))},
    {"TopComoSeLee", {{T("Top_Default"), T(" 50 ")}}, [] { return QVariant(A().TopDefault); }, QVariant(T(" 50 "))},
};

}  // namespace

TEST_P(ReglasDeCarga, CadaReglaDaSuValor) {
    const Caso& c = GetParam();
    for (const auto& [clave, valor] : c.filas) Fila(Datos(), clave, valor);
    Cargar();
    EXPECT_EQ(c.leer(), c.esperado);
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Reglas, ReglasDeCarga, ::testing::ValuesIn(casos),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST_F(Carga, ValoresFijosYTablaEnMinusculas) {
    Cargar();
    EXPECT_EQ(TablaConfiguracion(), QStringLiteral("ta_configuracion"));
    EXPECT_EQ(Ajustes().ArchivoDocTareas, QStringLiteral("/opt/recepcion/CVDOCTareas.crv"));
    EXPECT_TRUE(Ajustes().IndicadorCarga);
    EXPECT_TRUE(negocio->sentencias.first().startsWith(QStringLiteral("SELECT VALOR, valoraux FROM ta_configuracion ")));
}

TEST_F(Carga, FilaDelUsuarioConApostrofo) {
    Contexto().UsuarioLogeado = QStringLiteral("O'Brien");
    Datos().EjecutarSQL(QStringLiteral("INSERT INTO ta_usuarios (Nombre, UNegocio, VerProforma) VALUES ('O''Brien', '  7', 0)"));
    Fila(Datos(), QStringLiteral("UsaFacturaProforma"), QStringLiteral("SI"));
    Cargar();
    EXPECT_EQ(Ajustes().UnidadNegocio, QStringLiteral("  7"));
    EXPECT_FALSE(Ajustes().UsaFacturaProforma);  // the user's row replaces it
    EXPECT_TRUE(negocio->sentencias.contains(
        QStringLiteral("Select * from ta_usuarios  with(nolock)  where Nombre = 'O''Brien'")));
}

TEST_F(Carga, UsuarioSinFila) {
    Contexto().UsuarioLogeado = QStringLiteral("NADIE");
    Fila(Datos(), QStringLiteral("UsaFacturaProforma"), QStringLiteral("SI"));
    Cargar();
    EXPECT_EQ(Ajustes().UnidadNegocio, QStringLiteral("   1"));
    EXPECT_TRUE(Ajustes().UsaFacturaProforma);
}

TEST_F(Carga, FilaDelUsuarioSinUnidadNiProforma) {
    Contexto().UsuarioLogeado = QStringLiteral("ANA");
    Datos().EjecutarSQL(QStringLiteral("INSERT INTO ta_usuarios (Nombre, UNegocio, VerProforma) VALUES ('ANA', NULL, -1)"));
    Cargar();
    EXPECT_EQ(Ajustes().UnidadNegocio, QStringLiteral("   1"));
    EXPECT_FALSE(Ajustes().UsaFacturaProforma);  // only a true setting is replaced
}

TEST_F(Carga, UnValorQueNoCabeConservaElAnterior) {
    Ajustes().Periodo = 5;
    Fila(Datos(), QStringLiteral("PERIODO"), QStringLiteral("40000"));
    Fila(Datos(), QStringLiteral("CFondo"), QStringLiteral("99999999999"));
    Cargar();
    EXPECT_EQ(Ajustes().Periodo, 5);
    EXPECT_EQ(Contexto().ColorFondo, 16776960);  // the default step still runs
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
}

TEST_F(Carga, ProgramaDeVentasTomaSusDecimales) {
    Fila(Datos(), QStringLiteral("CantidadDecimales"), QStringLiteral("2"));
    Fila(Datos(), QStringLiteral("CantidadDecimalesVentas"), QStringLiteral("3"));
    Cargar();
    EXPECT_EQ(Ajustes().CantidadDecimales, QStringLiteral("2"));  // this program is not a sales one
    platform::runtime::EstablecerNombreEjecutable(QStringLiteral("Ventas"));
    Cargar();
    EXPECT_EQ(Ajustes().CantidadDecimales, QStringLiteral("3"));
    Datos().EjecutarSQL(QStringLiteral("UPDATE TA_CONFIGURACION SET Valor = '0' WHERE Clave = 'CantidadDecimalesVentas'"));
    Cargar();
    EXPECT_EQ(Ajustes().CantidadDecimales, QStringLiteral("2"));
}

TEST_F(Carga, SinConexionNadaSeAvisa) {
    Datos().SetConectado(false);
    Cargar();
    EXPECT_TRUE(prompts->Preguntas().isEmpty());
    EXPECT_EQ(Ajustes().TopDefault, QStringLiteral("1000"));
    EXPECT_EQ(Ajustes().CondIvaEmpresa, 1);
    EXPECT_EQ(Ajustes().UnidadNegocio, QStringLiteral("   1"));
    EXPECT_EQ(Contexto().ColorFondo, 16776960);
    EXPECT_TRUE(Ajustes().ModuloOrdenDeTrabajo);
}
