// The subject of a known message is read straight from its header block;
// it must be what the full header parse gives, or leave the case to it.
#include "platform/runtime/ErrorSistema.h"
#include "BuzonPrueba.h"
#include "ApoyoPruebas.h"

#include <gtest/gtest.h>

TEST(AsuntoMail, IgualQueElAnalisisCompleto) {
    const QByteArray casos[] = {
        "Subject: hola\r\n\r\nx",
        "From: a@x\nSubject: =?ISO-8859-1?Q?Caf=E9?= con leche\n\ncuerpo",
        "Subject: una l\xc3\xadnea\r\n  doblada\r\nTo: b@x\r\n\r\n",
        "subject:   espacios   \n\n",
        "Subject : con blanco antes\n\n",
        "Subject: uno\nSubject: dos\n\n",
        "From: a@x\n\n",
        "Subject: =?UTF-8?B?w7FhbmTDug==?= y =?UTF-8?Q?m=C3=A1s?=\n\n",
        "Subject: \x01control\x1f\n\n",
        "Subject: sin fin de cabeceras",
        "From a@x Thu Jan  1 00:00:00 2026\nSubject: mbox\n\n",
    };
    for (const QByteArray& crudo : casos) {
        pruebas::BuzonPrueba rapido, completo;
        const auto a = rapido.Unico(crudo);
        const auto b = completo.Unico(crudo);
        QString esperado;
        try {
            b.Cabecera(QStringLiteral("From"));  // the full header parse first
            esperado = b.Subject();
        } catch (const platform::runtime::ErrorSistema& e) {
            esperado = QStringLiteral("error %1").arg(e.Numero);
        }
        QString obtenido;
        try {
            obtenido = a.Subject();
        } catch (const platform::runtime::ErrorSistema& e) {
            obtenido = QStringLiteral("error %1").arg(e.Numero);
        }
        EXPECT_EQ(obtenido, esperado) << crudo.toStdString();
    }
}

TEST(AsuntoMail, LoQueNoEsCorreoSigueDando438) {
    pruebas::BuzonPrueba buzon;
    try {
        buzon.Unico("esto no es una cabecera\nSubject: trampa\n\n").Subject();
        ADD_FAILURE() << "sin error";
    } catch (const platform::runtime::ErrorSistema& e) {
        EXPECT_EQ(e.Numero, 438);
    }
}
