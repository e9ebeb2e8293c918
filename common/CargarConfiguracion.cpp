#include "common/CargarConfiguracion.h"

#include "platform/runtime/Texto.h"
#include "common/AjustesGlobales.h"
#include "common/Configuracion.h"
#include "common/Contexto.h"
#include "platform/db/LiteralSql.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Entorno.h"
#include "platform/runtime/Pasos.h"

#include <QStringList>
#include <QTime>

#include <cstdlib>

namespace common {

using namespace platform;

namespace {

// The product's sales programs, which keep their own number of decimals.
const QStringList& ProgramasDeVentas() {
    static const QStringList nombres{
        QStringLiteral("VENTAS"),       QStringLiteral("FACTURACION"), QStringLiteral("PUNTODEVENTA"),
        QStringLiteral("MOSTRADOR"),    QStringLiteral("PRESUPUESTOS"), QStringLiteral("PEDIDOS"),
        QStringLiteral("REMITOS"),      QStringLiteral("CAJAVENTAS"),  QStringLiteral("VENTASMOVIL")};
    return nombres;
}

QString Leer(const char* clave) {
    QString aux;
    return Cfg(QString::fromLatin1(clave), aux);
}

bool Igual(const QString& a, const char* b) { return platform::runtime::IgualSinCaso(a, b); }

// Rule kinds of the settings table.
bool BanderaSi(const QString& valor) { return Igual(valor, "SI"); }
bool BanderaNoNo(const QString& valor) { return !Igual(valor.trimmed(), "NO"); }
bool BanderaPuestaNoNo(const char* clave) {
    if (Leer(clave).trimmed().isEmpty()) return false;
    return !Igual(Leer(clave), "NO");
}

std::int16_t ReglaEntero(const QString& valor) { return runtime::CInt(runtime::Val(valor)); }
std::int32_t ReglaColor(const QString& valor) { return runtime::CLng(Util().ValorNumero(valor)); }
double ReglaNumero(const QString& valor) { return Util().ValorNumero(valor); }

// A field value taken as true/false; Null and texts that are not a flag
// fail, so the setting keeps what it had.
bool ComoBooleano(const db::Valor& valor) {
    if (db::EsNulo(valor)) runtime::Lanzar(runtime::Err::UsoNoValidoDeNull);
    if (valor.typeId() == QMetaType::Bool) return valor.toBool();
    const QString t = valor.toString().trimmed();
    if (Igual(t, "True") || Igual(t, "Verdadero")) return true;
    if (Igual(t, "False") || Igual(t, "Falso")) return false;
    bool esNumero = false;
    const double n = t.toDouble(&esNumero);
    if (!esNumero) runtime::Lanzar(runtime::Err::TiposNoCoinciden);
    return n != 0.0;
}


}  // namespace

void CargarConfiguracion(QString& rutaAplicacion) {
    AjustesGlobales& a = Ajustes();
    auto& ctx = Contexto();
    db::Recordset usuario;  // released when the procedure ends
    const runtime::Manejador ignorar = runtime::IgnorarErrores();

    runtime::EjecutarPasos(ignorar, {
        [&] { std::srand(static_cast<unsigned>(QTime::currentTime().msecsSinceStartOfDay())); },
        // Rows 1 to 9.
        [&] { TablaConfiguracion() = QStringLiteral("ta_configuracion"); },
        [&] { a.MostrarStockEnConsultas = BanderaSi(Util().NoNulo(Leer("MostrarStockenConsultas"))); },
        [&] { a.TituloClientes = Leer("TituloClientes").trimmed(); },
        [&] { a.TituloProveedores = Leer("TituloProveedores").trimmed(); },
        [&] { a.ArchivoDocTareas = rutaAplicacion + QStringLiteral("CVDOCTareas.crv"); },
        [&] { a.ExigeClaveConsultaLikeArticulos = BanderaSi(Leer("EXIGECLAVECONSULTALIKEARTICULOS")); },
        [&] { a.UsaConsultaLike = BanderaSi(Leer("UsaConsultaLike")); },
        [&] { a.CantidadDecimales = Leer("CantidadDecimales"); },
        [&] { a.Confidencialidad = BanderaSi(Leer("SS_CONFIDENCIALIDAD")); },
        // Row 10: only the sales programs; this program is not one of them.
        [&] {
            if (ProgramasDeVentas().contains(runtime::NombreEjecutable(), Qt::CaseInsensitive) &&
                runtime::Val(Leer("CantidadDecimalesVentas")) > 0)
                a.CantidadDecimales = Leer("CantidadDecimalesVentas");
        },
        // Rows 11 to 14.
        [&] { a.UsaMultiplesMonedas = BanderaSi(Leer("UsaMultilesMonedas")); },
        [&] { a.UsaFacturaProforma = BanderaSi(Leer("UsaFacturaProforma")); },
        [&] { a.UsaCCosto = BanderaSi(Leer("USACCOSTO")); },
        [&] { a.UsaStockUdKg = BanderaSi(Leer("USA_STK_STOCK_UDKG")); },
        // Rows 15 and 16, from the user's row.
        [&] {
            Datos().AbrirRecordset(QStringLiteral("Select * from ta_usuarios  with(nolock)  where Nombre = '") +
                                       db::DoblarApostrofos(ctx.UsuarioLogeado) + QLatin1Char('\''),
                                   usuario);
        },
        [&] {
            if (usuario.Eof()) return;
            runtime::EjecutarPasosAnidados(ignorar, {
                [&] { a.UnidadNegocio = Util().NoNulo(usuario.Fields(QStringLiteral("UNegocio"))); },
                [&] {
                    if (a.UsaFacturaProforma)
                        a.UsaFacturaProforma = ComoBooleano(usuario.Fields(QStringLiteral("VerProforma")));
                },
            });
        },
        [&] { if (a.UnidadNegocio.isEmpty()) a.UnidadNegocio = QStringLiteral("   1"); },
        // Rows 17 to 48.
        [&] { a.UnidadMedidaM3 = Leer("UNIDADDEMEDIDA_M3").trimmed(); },
        [&] { a.UnidadMedidaBL = Leer("UNIDADDEMEDIDA_BL").trimmed(); },
        [&] { a.UnidadMedidaKG = Leer("UNIDADDEMEDIDA_KG").trimmed(); },
        [&] { a.Periodo = ReglaEntero(Leer("PERIODO")); },
        [&] { a.RazonSocialPorUneg = BanderaSi(Leer("RazonSocialPorUneg").trimmed()); },
        [&] { a.ValidaCodigoBarra = BanderaSi(Leer("VALIDACODIGOBARRA").trimmed()); },
        [&] { a.IndicadorCarga = true; },
        [&] { ctx.ColorFondo = ReglaColor(Leer("CFondo")); },
        [&] { if (ctx.ColorFondo == 0) ctx.ColorFondo = 16776960; },  // FFFF00
        [&] { ctx.ColorLetra = ReglaColor(Leer("CLetra")); },
        [&] { a.ModuloOrdenDeTrabajo = BanderaNoNo(Leer("ModuloOrdenDeTrabajo")); },
        [&] { a.VModificaCPrecio = BanderaPuestaNoNo("V_ModificaCPrecio"); },
        [&] { a.CModificaCPrecio = BanderaPuestaNoNo("C_ModificaCPrecio"); },
        [&] { a.Maderera = BanderaPuestaNoNo("MADERERA"); },
        [&] { a.MadTiras = Leer("MAD_TIRAS").trimmed(); },
        [&] { a.MadP2 = Leer("MAD_P2").trimmed(); },
        [&] { a.MadML = Leer("MAD_ML").trimmed(); },
        [&] { a.MadM2 = Leer("MAD_M2").trimmed(); },
        [&] { a.MadHojas = Leer("MAD_HOJAS").trimmed(); },
        [&] { a.MadMLP2 = Leer("MAD_ML_P2").trimmed(); },
        [&] { a.MadM2P2 = Leer("MAD_M2_P2").trimmed(); },
        [&] { a.MadMLM2 = Leer("MAD_ML_M2").trimmed(); },
        [&] { a.CuentaCtroDist = Leer("CuentaCtroDist").trimmed(); },
        [&] { a.MaxDto = ReglaNumero(Leer("MaxDto").trimmed()); },
        [&] { a.MaxDtoProforma = ReglaNumero(Leer("MaxDtoProforma").trimmed()); },
        [&] { a.PideClaveStockNeg = BanderaPuestaNoNo("PideClave_StockNeg"); },
        [&] { a.PideClaveMarkUpBase = BanderaPuestaNoNo("PideClave_MarkUpBase"); },
        [&] { a.PideClaveLimiteCredito = BanderaPuestaNoNo("PideClave_LimiteCredito"); },
        [&] { a.BloqueoActivo = BanderaSi(Leer("SS_BloqueoActivo")); },
        [&] { a.UtilizarFechaDia = BanderaSi(Leer("UTILIZARFECHADIA")); },
        [&] { a.AsignacionAutomaticaDeLoteING = BanderaSi(Leer("AsignacionAutomaticaDeLoteING")); },
        [&] { a.CondIvaEmpresa = ReglaEntero(Leer("CONDIVAEMPRESA")); },
        [&] { if (a.CondIvaEmpresa == 0) a.CondIvaEmpresa = ReglaEntero(Leer("CONDIVA")); },
        [&] { if (a.CondIvaEmpresa == 0) a.CondIvaEmpresa = 1; },
        [&] { a.TopDefault = Leer("Top_Default"); },
        [&] { if (a.TopDefault.trimmed().isEmpty()) a.TopDefault = QStringLiteral("1000"); },
    });
}

}  // namespace common
