// recepcion-sql: runs SQL against a database the program can open (the
// embedded one, a server, an ODBC data source), in the dialect the program
// writes, and prints what SELECTs return. The demo seeds its database with
// it; a server's tables are created with it from schema/<server>/.
#include "platform/db/DialectoSqlServer.h"
#include "platform/db/Motores.h"
#include "platform/db/Recordset.h"
#include "platform/runtime/ErrorSistema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {
const char* const Uso =
    "Uso: recepcion-sql [--datos CARPETA] [--crear] [--servidor SERVIDOR|ORIGEN_ODBC\n"
    "                    --usuario U --password P] [--conexion CADENA_ODBC]\n"
    "                    BASE [ARCHIVO.sql | -e SENTENCIA]\n"
    "Ejecuta SQL sobre una base que el programa abre, en el dialecto del programa.\n"
    "Sin archivo lee las sentencias de la entrada estándar.\n"
    "  --datos CARPETA  carpeta de las bases integradas (también RECEPCION_DATOS)\n"
    "  --crear          crea la base cuando no existe (sin esta opción solo abre una que exista)\n"
    "  --servidor S     servidor u origen de datos ODBC, como @Server de la línea\n"
    "  --conexion C     cadena de conexión ODBC propia (Driver=…; o DSN=…;)\n"
    "  -h, --help       muestra esta ayuda\n";
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    bool crear = false;
    platform::db::ParametrosConexion conexion;
    // Options come before the database's name; "-e" and what follows are the statement.
    while (!args.isEmpty() && args[0].startsWith(QLatin1Char('-'))) {
        const QString opcion = args.takeFirst();
        if (opcion == QLatin1String("-h") || opcion == QLatin1String("--help")) {
            out << Uso;
            return 0;
        }
        if (opcion == QLatin1String("--crear")) {
            crear = true;
            continue;
        }
        // Every other option takes a value, and another option is not one.
        if (args.isEmpty() || args[0].startsWith(QStringLiteral("--"))) {
            err << "Opción desconocida o sin valor: " << opcion << "\n" << Uso;
            return 2;
        }
        const QString valor = args.takeFirst();
        if (opcion == QLatin1String("--datos")) qputenv("RECEPCION_DATOS", QDir(valor).absolutePath().toUtf8());
        else if (opcion == QLatin1String("--servidor")) conexion.servidor = valor;
        else if (opcion == QLatin1String("--usuario")) conexion.usuario = valor;
        else if (opcion == QLatin1String("--password")) conexion.password = valor;
        else if (opcion == QLatin1String("--conexion")) conexion.textoConexion = valor;
        else {
            err << "Opción desconocida: " << opcion << "\n" << Uso;
            return 2;
        }
    }
    if (args.isEmpty()) {
        err << Uso;
        return 2;
    }
    conexion.base = args[0];
    // A mistyped name must not answer from a new, empty database.
    const bool embebida = conexion.servidor.isEmpty() && conexion.textoConexion.isEmpty();
    const QString archivo = platform::db::ArchivoBaseEmbebida(args[0]);
    if (embebida && !crear && !QFileInfo::exists(archivo)) {
        err << "La base de datos " << args[0] << " no existe (" << archivo << "). Para crearla use --crear.\n";
        return 1;
    }
    platform::db::EstablecerAvisoBaseNueva([&err](const QString& nueva) {
        err << "Base de datos integrada nueva: " << nueva << "\n";
    });
    QString texto;
    if (args.size() >= 3 && args[1] == QLatin1String("-e")) {
        texto = args.mid(2).join(QLatin1Char(' '));
    } else {
        QFile f;
        if (args.size() >= 2) f.setFileName(args[1]);
        const bool abierto = args.size() >= 2 ? f.open(QIODevice::ReadOnly)
                                              : f.open(stdin, QIODevice::ReadOnly);
        if (!abierto) {
            err << "No se puede leer " << args.value(1) << "\n";
            return 2;
        }
        texto = QString::fromUtf8(f.readAll());
    }
    try {
        auto c = platform::db::AbrirConexion(conexion);
        c->SetDefaultDatabase(conexion.base);
        int fallos = 0;
        for (const QString& s : platform::db::DividirLote(texto)) {
            if (s.startsWith(QStringLiteral("--"))) continue;
            if (platform::db::PrimeraPalabra(s) == QLatin1String("SELECT")) {
                platform::db::Recordset rs;
                rs.Open(s, *c);
                QStringList cabecera;
                for (int i = 0; i < rs.FieldCount(); ++i) cabecera << rs.FieldName(i);
                out << cabecera.join(QLatin1Char('\t')) << "\n";
                for (; !rs.Eof(); rs.MoveNext()) {
                    QStringList fila;
                    for (int i = 0; i < rs.FieldCount(); ++i) {
                        const QVariant v = rs.Fields(rs.FieldName(i)).Value();
                        QString t = v.isValid() ? v.toString() : QStringLiteral("NULL");
                        fila << t.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
                    }
                    out << fila.join(QLatin1Char('\t')) << "\n";
                }
                continue;
            }
            c->Ejecutar(s);
            for (int i = 0; i < c->Errors().Count(); ++i, ++fallos)
                err << "Error " << c->Errors().Item(i).NativeError << ": "
                    << c->Errors().Item(i).Description << "\n  en: " << s << "\n";
        }
        return fallos ? 1 : 0;
    } catch (const platform::runtime::ErrorSistema& e) {
        err << e.Descripcion << "\n";
        return 1;
    }
}
