#pragma once
// The product's global settings: module-level values that the shared
// procedures read by name. CargarConfiguracion fills them, one row at a time
// in the order below; a row that names a value kept elsewhere is a comment.
#include <QString>

#include <cstdint>

namespace common {

struct AjustesGlobales {
    //  #  key or source                      setting                                 rule
    //  1  (fixed) "ta_configuracion"         TablaConfiguracion() in Configuracion.h
    bool MostrarStockEnConsultas = false;          //  2 "MostrarStockenConsultas"   NoNulo, SI-flag
    QString TituloClientes;                        //  3 "TituloClientes"            trimmed
    QString TituloProveedores;                     //  4 "TituloProveedores"         trimmed
    QString ArchivoDocTareas;                      //  5 application folder + "CVDOCTareas.crv"
    bool ExigeClaveConsultaLikeArticulos = false;  //  6 "EXIGECLAVECONSULTALIKEARTICULOS" SI-flag
    bool UsaConsultaLike = false;                  //  7 "UsaConsultaLike"           SI-flag
    QString CantidadDecimales;                     //  8 "CantidadDecimales"         as read
    bool Confidencialidad = false;                 //  9 "SS_CONFIDENCIALIDAD"       SI-flag
    // 10 "CantidadDecimalesVentas" → CantidadDecimales (row 8), sales programs only
    bool UsaMultiplesMonedas = false;              // 11 "UsaMultilesMonedas"        SI-flag
    bool UsaFacturaProforma = false;               // 12 "UsaFacturaProforma"        SI-flag
    bool UsaCCosto = false;                        // 13 "USACCOSTO"                 SI-flag
    bool UsaStockUdKg = false;                     // 14 "USA_STK_STOCK_UDKG"        SI-flag
    QString UnidadNegocio;                         // 15 user row "UNegocio"         NoNulo; empty → "   1"
    // 16 user row "VerProforma" → UsaFacturaProforma (row 12), only when it is true
    QString UnidadMedidaM3;                        // 17 "UNIDADDEMEDIDA_M3"         trimmed
    QString UnidadMedidaBL;                        // 18 "UNIDADDEMEDIDA_BL"         trimmed
    QString UnidadMedidaKG;                        // 19 "UNIDADDEMEDIDA_KG"         trimmed
    std::int16_t Periodo = 0;                      // 20 "PERIODO"                   integer
    bool RazonSocialPorUneg = false;               // 21 "RazonSocialPorUneg"        SI-flag, trimmed
    bool ValidaCodigoBarra = false;                // 22 "VALIDACODIGOBARRA"         SI-flag, trimmed
    bool IndicadorCarga = false;                   // 23 (fixed) true
    // 24 "CFondo" → Contexto().ColorFondo, colour; 0 becomes 16776960 (FFFF00)
    // 25 "CLetra" → Contexto().ColorLetra, colour; 0 stays 0
    bool ModuloOrdenDeTrabajo = false;             // 26 "ModuloOrdenDeTrabajo"      not-NO
    bool VModificaCPrecio = false;                 // 27 "V_ModificaCPrecio"         set-and-not-NO
    bool CModificaCPrecio = false;                 // 28 "C_ModificaCPrecio"         set-and-not-NO
    bool Maderera = false;                         // 29 "MADERERA"                  set-and-not-NO
    QString MadTiras;                              // 30 "MAD_TIRAS"                 trimmed
    QString MadP2;                                 // 31 "MAD_P2"                    trimmed
    QString MadML;                                 // 32 "MAD_ML"                    trimmed
    QString MadM2;                                 // 33 "MAD_M2"                    trimmed
    QString MadHojas;                              // 34 "MAD_HOJAS"                 trimmed
    QString MadMLP2;                               // 35 "MAD_ML_P2"                 trimmed
    QString MadM2P2;                               // 36 "MAD_M2_P2"                 trimmed
    QString MadMLM2;                               // 37 "MAD_ML_M2"                 trimmed
    QString CuentaCtroDist;                        // 38 "CuentaCtroDist"            trimmed
    double MaxDto = 0;                             // 39 "MaxDto"                    number (4 decimals)
    double MaxDtoProforma = 0;                     // 40 "MaxDtoProforma"            number (4 decimals)
    bool PideClaveStockNeg = false;                // 41 "PideClave_StockNeg"        set-and-not-NO
    bool PideClaveMarkUpBase = false;              // 42 "PideClave_MarkUpBase"      set-and-not-NO
    bool PideClaveLimiteCredito = false;           // 43 "PideClave_LimiteCredito"   set-and-not-NO
    bool BloqueoActivo = false;                    // 44 "SS_BloqueoActivo"          SI-flag
    bool UtilizarFechaDia = false;                 // 45 "UTILIZARFECHADIA"          SI-flag
    bool AsignacionAutomaticaDeLoteING = false;    // 46 "AsignacionAutomaticaDeLoteING" SI-flag
    std::int16_t CondIvaEmpresa = 0;               // 47 "CONDIVAEMPRESA", "CONDIVA" integer; 0 → next, then 1
    QString TopDefault;                            // 48 "Top_Default"               as read; blank → "1000"
};

// The one set of the process. Tests start from AjustesGlobales{}.
inline AjustesGlobales& Ajustes() {
    static AjustesGlobales ajustes;
    return ajustes;
}

}  // namespace common
