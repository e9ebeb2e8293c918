#pragma once
// A message whose import failed: what this attempt wrote is taken back, the
// failure is logged and counted, and after too many the message is set aside.
#include "platform/runtime/ErrorSistema.h"

#include <QString>
#include <QStringList>

namespace reception {

// The files one attempt at a message wrote, so that a failed attempt leaves
// nothing of the message half-written.
struct IntentoMensaje {
    QStringList archivos;
    QString carpetaCreada;  // made by this attempt; removed when left empty

    void Deshacer();
};

// Passes over a message not stored: its files of this attempt removed, one
// CVERR.LOG line, one more failure counted; one more line when that count
// sets it aside.
void PasarPorAlto(const QString& cuenta, const QString& entrada, const platform::runtime::ErrorSistema& error,
                  IntentoMensaje& intento);

// A message already stored whose later steps (its commands) failed: only logged.
void AnotarFalloTrasGuardar(const QString& cuenta, const QString& entrada,
                            const platform::runtime::ErrorSistema& error);

// A file of the inbox that cannot be read as mail (empty, binary, no
// header): counted in the run, logged the first time it is met.
void AnotarNoEsCorreo(const QString& cuenta, const QString& entrada, const QString& ruta);

// Entries of the inbox folders that are not regular files, once per import.
void AnotarOmitidos(const QString& cuenta, const QStringList& omitidos);

}  // namespace reception
