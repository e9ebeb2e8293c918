// recepcion-sql: runs SQL against an embedded database of the program, in
// the same dialect the program writes, and prints what SELECTs return.
// Used by the demo to seed the database and show the imported rows.
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
    "Uso: recepcion-sql [--datos CARPETA] [--crear] BASE [ARCHIVO.sql | -e SENTENCIA]\n"
    "Ejecuta SQL sobre una base de datos integrada, en el dialecto del programa.\n"
    "Sin archivo lee las sentencias de la entrada estándar.\n"
    "  --datos CARPETA  carpeta de las bases integradas (también RECEPCION_DATOS)\n"
    "  --crear          crea la base cuando no existe (sin esta opción solo abre una que exista)\n"
    "  -h, --help       muestra esta ayuda\n";
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    bool crear = false;
    // Options come before the database's name; "-e" and what follows are the statement.
    while (!args.isEmpty() && args[0].startsWith(QLatin1Char('-'))) {
        const QString opcion = args.takeFirst();
        if (opcion == QLatin1String("-h") || opcion == QLatin1String("--help")) {
            out << Uso;
            return 0;
        } else if (opcion == QLatin1String("--crear")) {
            crear = true;
        } else if (opcion == QLatin1String("--datos") && !args.isEmpty() && !args[0].startsWith(QStringLiteral("--"))) {
            qputenv("RECEPCION_DATOS", QDir(args.takeFirst()).absolutePath().toUtf8());
        } else {
            err << "Opción desconocida o sin valor: " << opcion << "\n" << Uso;
            return 2;
        }
    }
    if (args.isEmpty()) {
        err << Uso;
        return 2;
    }
    // A mistyped name must not answer from a new, empty database.
    const QString archivo = platform::db::ArchivoBaseEmbebida(args[0]);
    if (!crear && !QFileInfo::exists(archivo)) {
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
        auto c = platform::db::AbrirConexion({QString(), args[0]});
        int fallos = 0;
        for (const QString& s : platform::db::TraducirLote(texto)) {
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
