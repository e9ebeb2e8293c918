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
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    platform::db::ParametrosConexion conexion;
    while (args.size() >= 2 && args[0].startsWith(QStringLiteral("--"))) {
        const QString opcion = args[0], valor = args[1];
        if (opcion == QLatin1String("--datos")) qputenv("RECEPCION_DATOS", QDir(valor).absolutePath().toUtf8());
        else if (opcion == QLatin1String("--servidor")) conexion.servidor = valor;
        else if (opcion == QLatin1String("--usuario")) conexion.usuario = valor;
        else if (opcion == QLatin1String("--password")) conexion.password = valor;
        else if (opcion == QLatin1String("--conexion")) conexion.textoConexion = valor;
        else break;
        args = args.mid(2);
    }
    if (args.isEmpty() || args[0].startsWith(QStringLiteral("--"))) {
        err << "Uso: recepcion-sql [--datos CARPETA] [--servidor SERVIDOR|ORIGEN_ODBC --usuario U --password P]\n"
               "                    [--conexion CADENA_ODBC] BASE [ARCHIVO.sql | -e SENTENCIA]\n"
               "Sin archivo lee las sentencias de la entrada estándar.\n";
        return 2;
    }
    conexion.base = args[0];
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
