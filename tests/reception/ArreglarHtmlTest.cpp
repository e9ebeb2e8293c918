#include "reception/ArreglarHtml.h"

#include "ApoyoPruebas.h"
#include "common/ArchivoTemporal.h"
#include "platform/runtime/ErrorSistema.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using reception::ArreglarHtml;
using reception::EsImagen;
using reception::RecorreImagenes;

namespace {

const QString kUidl = QStringLiteral("00000000AB12");

// An attachments folder with one message folder holding the given entries;
// an entry ending in "/" is a subfolder. nullptr: no message folder at all.
class Adjuntos {
public:
    explicit Adjuntos(const std::initializer_list<const char*>* entradas) {
        if (!entradas) return;
        QDir(dir_.path()).mkdir(kUidl);
        for (const char* e : *entradas) {
            const QString nombre = QString::fromUtf8(e);
            const QString ruta = dir_.path() + QLatin1Char('/') + kUidl + QLatin1Char('/') + nombre;
            if (nombre.endsWith(QLatin1Char('/'))) QDir().mkdir(ruta);
            else pruebas::EscribirArchivo(ruta, "x");
        }
    }
    QString Carpeta() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

QString Esperado(const char* plantilla, const QString& carpeta) {
    return QString::fromUtf8(plantilla).replace(QStringLiteral("{F}"), carpeta + QLatin1Char('/') + kUidl);
}

}  // namespace

TEST(ArreglarHtml, TablaDeCuerpos) {
    using Lista = std::initializer_list<const char*>;
    // ".jpg" would count as an image (its extension is "jpg") were it not hidden.
    const Lista imagenes = {"a.pdf", ".jpg", "0sub.png/", "b.png", "C.gif", "d.jpg"};
    const Lista vacia = {};
    const Lista subcadena = {"1a.png", "a.png"};
    const Lista puntos = {"a.b.jpg"};
    struct Caso {
        const char* titulo;
        const Lista* archivos;
        const char* cuerpo;
        const char* esperado;
    };
    const Caso casos[] = {
        {"sin referencias, comillas y apostrofos", &imagenes,
         "<p class=\"x\" title='t'>l'eau</p>", "<p class=\"x\" title=\"t\">l\"eau</p>"},
        {"cid habitual con arroba", &imagenes,
         "<img width=1 src=\"cid:image001.png@01D9A1B2.C3D4E5F0\">",
         "<img width=1  src=\"file:{F}/image001.png\">"},
        {"en mayusculas", &imagenes, "<IMG SRC='CID:Foto.JPG@x'>",
         "<IMG  src=\"file:{F}/Foto.JPG\">"},
        {"la misma referencia dos veces, de una vez", &imagenes,
         "<img src=\"cid:a@1\"><img src=\"CID:A@1\">",
         "<img  src=\"file:{F}/a\"><img  src=\"file:{F}/a\">"},
        {"sin arroba: primera y segunda imagen, sin pdf ni ocultos ni carpetas", &imagenes,
         "<img src=\"cid:uno\"><img src=\"cid:dos\"><img src=\"cid:x@y\">",
         "<img  src=\"file:{F}/b.png\"><img  src=\"file:{F}/C.gif\"><img  src=\"file:{F}/x\">"},
        {"sin arroba, repetida: un solo archivo", &imagenes,
         "<img src=\"cid:uno\"><img src=\"cid:uno\">",
         "<img  src=\"file:{F}/b.png\"><img  src=\"file:{F}/b.png\">"},
        {"carpeta del mensaje vacia", &vacia, "<img src=\"cid:uno\">",
         "<img  src=\"file:{F}/\">"},
        {"carpeta del mensaje inexistente", nullptr, "<img src=\"cid:uno\">",
         "<img  src=\"file:{F}/\">"},
        {"a.b.jpg no es imagen", &puntos, "<img src=\"cid:uno\">", "<img  src=\"file:{F}/\">"},
        {"a.png se salta tras elegir 1a.png", &subcadena,
         "<img src=\"cid:uno\"><img src=\"cid:dos\">",
         "<img  src=\"file:{F}/1a.png\"><img  src=\"file:{F}/\">"},
    };
    for (const Caso& c : casos) {
        Adjuntos adjuntos(c.archivos);
        EXPECT_EQ(ArreglarHtml(QString::fromUtf8(c.cuerpo), kUidl, adjuntos.Carpeta()),
                  Esperado(c.esperado, adjuntos.Carpeta()))
            << c.titulo;
    }
}

TEST(ArreglarHtml, ReferenciaSinCerrarQuedaComoEsta) {
    const Adjuntos adjuntos(nullptr);
    const std::pair<const char*, const char*> casos[] = {
        {"<img src=\"cid:abc>", "<img src=\"cid:abc>"},
        {"<img src=\"cid:", "<img src=\"cid:"},
        {"<p>a</p><img src=\"cid:", "<p>a</p><img src=\"cid:"},
        // Closed ones before it are still rewritten.
        {"<img src=\"cid:a@1\"><img src=\"cid:x@y><p>fin</p>",
         "<img  src=\"file:{F}/a\"><img src=\"cid:x@y><p>fin</p>"},
    };
    for (const auto& [cuerpo, esperado] : casos)
        EXPECT_EQ(ArreglarHtml(QString::fromUtf8(cuerpo), kUidl, adjuntos.Carpeta()),
                  Esperado(esperado, adjuntos.Carpeta()))
            << cuerpo;
}

TEST(ArreglarHtml, CarpetaQueContieneLaReferenciaEsError5) {
    const std::pair<const char*, const char*> casos[] = {
        // The rewritten reference would hold a new one on every pass.
        {"<img src=\"cid:a@b\">", "/datos/src='cid:x"},
    };
    for (const auto& [cuerpo, carpeta] : casos) {
        try {
            ArreglarHtml(QString::fromUtf8(cuerpo), kUidl, QString::fromUtf8(carpeta));
            ADD_FAILURE() << cuerpo;
        } catch (const platform::runtime::ErrorSistema& e) {
            EXPECT_EQ(e.Numero, platform::runtime::Err::ArgumentoNoValido) << cuerpo;
        }
    }
}

TEST(ArreglarHtml, EscribeLasMarcasEnLaTraza) {
    QTemporaryDir temporal;
    pruebas::VariableEntorno temp("TEMP", temporal.path());
    pruebas::VariableEntorno tmp("TMP", temporal.path());
    common::Traza(1, QString());

    const QString carpeta = QStringLiteral("/sin/adjuntos");
    ArreglarHtml(QStringLiteral("<p>nada</p>"), kUidl, carpeta);
    ArreglarHtml(QStringLiteral("<img src='cid:a@b'><img src='cid:c'>"), kUidl, carpeta);

    std::int16_t accion = 5;
    QString extension = QStringLiteral(".txt"), ruta;
    common::ArchivoTemporal(accion, QString(), extension, ruta);
    const QString traza = QString::fromUtf8(pruebas::LeerArchivo(ruta));
    accion = 4;
    common::ArchivoTemporal(accion, QString(), extension, ruta);

    const QStringList marcas = {
        QStringLiteral("CAMBIACOMILLAS"), QStringLiteral("AS"), QStringLiteral("FIN"), QStringLiteral("FIN2"),
        QStringLiteral("CAMBIACOMILLAS"),
        QStringLiteral("AS"), QStringLiteral("AS1"), QStringLiteral("AS2"), QStringLiteral("DSA"),
        QStringLiteral("AS"), QStringLiteral("AS1"), QStringLiteral("AS2"), QStringLiteral("DSA"),
        QStringLiteral("FIN"), QStringLiteral("FIN2")};
    EXPECT_EQ(traza, marcas.join(QStringLiteral("\r\r\n")) + QStringLiteral("\r\r\n"));
}

TEST(EsImagen, PorLaExtensionTrasElPrimerPunto) {
    const std::pair<const char*, bool> casos[] = {
        {"", false},        {"foto.JPG", true},   {"foto.jpeg", true}, {"x.Gif", true},
        {"x.bmp", true},    {"x.png", true},      {"png", true},       {"a.b.jpg", false},
        {"x.tiff", false},  {"x.", false},        {"informe.pdf", false},
    };
    for (const auto& [nombre, esImagen] : casos)
        EXPECT_EQ(EsImagen(QString::fromUtf8(nombre), QStringLiteral(",x.png")), esImagen) << nombre;
}

TEST(RecorreImagenes, AmpliaLaListaODejaElNombreComoEstaba) {
    const std::initializer_list<const char*> archivos = {"a.png", "b.png"};
    Adjuntos adjuntos(&archivos);
    QString omitir = QStringLiteral(",a.png"), nombre;
    RecorreImagenes(kUidl, omitir, nombre, adjuntos.Carpeta());
    EXPECT_EQ(nombre, QStringLiteral("b.png"));
    EXPECT_EQ(omitir, QStringLiteral(",a.png,b.png"));

    nombre = QStringLiteral("previo");
    RecorreImagenes(kUidl, omitir, nombre, adjuntos.Carpeta());
    EXPECT_EQ(nombre, QStringLiteral("previo"));
    EXPECT_EQ(omitir, QStringLiteral(",a.png,b.png"));
}
