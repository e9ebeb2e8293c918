#pragma once
// Single settings in the configuration table of the business database
// (Cfg, GrabaDfg) and of the statistics database (CfgCV, GrabaCfgCV).
#include <QString>
#include <QVariant>

namespace common {

// Name of the configuration table; empty at start.
QString& TablaConfiguracion();

// The value as text; " " when the key has no row; "" without reading when
// Datos is not connected. valorAux receives the auxiliary value ("" if none).
QString Cfg(const QString& clave, QString& valorAux);
QString CfgCV(const QString& clave, QString& valorAux);

// Creates or updates one setting; failures are skipped silently.
void GrabaDfg(const QString& clave, const QVariant& valor, const QString& valorAux,
              bool politicaNegocio, const QString& grupo, bool recortar);
void GrabaCfgCV(const QString& clave, const QVariant& valor, const QString& valorAux,
                bool politicaNegocio, const QString& grupo, bool recortar);

}  // namespace common
