#include "reception/EstadoPrograma.h"

#include "platform/db/Motores.h"
#include "platform/runtime/ErrorSistema.h"
#include "reception/BaseEstado.h"

#include <QDir>

namespace reception {

using platform::runtime::ErrorSistema;

using namespace estado;

namespace {

int Intentos(sqlite3* b, const QString& cuenta, const QString& entrada) {
    const Sentencia s =
        Preparar(b, "SELECT intentos FROM fallos_importacion WHERE cuenta=?1 AND entrada=?2", {cuenta, entrada});
    return Fila(b, s.get()) ? sqlite3_column_int(s.get(), 0) : 0;
}

}  // namespace

QString ArchivoEstado() { return QDir(platform::db::CarpetaDatos()).filePath(QStringLiteral("estado.db")); }

int AnotarFallo(const QString& cuenta, const QString& entrada) {
    try {
        const Base b = Abrir();
        Ejecutar(b.get(),
                 "INSERT INTO fallos_importacion (cuenta, entrada, intentos) VALUES (?1, ?2, 1)"
                 " ON CONFLICT (cuenta, entrada) DO UPDATE SET intentos = intentos + 1",
                 {cuenta, entrada});
        return Intentos(b.get(), cuenta, entrada);
    } catch (const ErrorSistema&) {
        return 0;
    }
}

QHash<QString, int> FallosDeLaCuenta(const QString& cuenta) {
    QHash<QString, int> fallos;
    try {
        const Base b = Abrir();
        const Sentencia s =
            Preparar(b.get(), "SELECT entrada, intentos FROM fallos_importacion WHERE cuenta=?1", {cuenta});
        while (Fila(b.get(), s.get())) fallos.insert(Texto(s.get(), 0), sqlite3_column_int(s.get(), 1));
    } catch (const ErrorSistema&) {
        return {};
    }
    return fallos;
}

void OlvidarFallos(const QString& cuenta, const QString& entrada) {
    EjecutarSiSePuede("DELETE FROM fallos_importacion WHERE cuenta=?1 AND entrada=?2", {cuenta, entrada});
}

bool PrimeraVezNoEsCorreo(const QString& cuenta, const QString& entrada) {
    // Without the file every meeting counts as the first: logged again rather than never.
    return EjecutarSiSePuede("INSERT OR IGNORE INTO no_es_correo (cuenta, entrada) VALUES (?1, ?2)",
                             {cuenta, entrada}) != 0;
}

int LiberarApartados(const QString& cuenta) {
    const Base b = Abrir();
    Ejecutar(b.get(), "DELETE FROM fallos_importacion WHERE cuenta=?1", {cuenta});
    return sqlite3_changes(b.get());
}

}  // namespace reception
