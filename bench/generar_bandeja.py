#!/usr/bin/python3
"""Writes a synthetic Maildir inbox for the benchmark, the same every time
for the same seed and reference time.

The mix is what a sales inbox receives: plain text, HTML with inline images
(multipart/related, cid: links), multipart/alternative, attachments from a
few KB to 2 MB on a share of the messages, RFC 2047 subjects and names in
Spanish, ISO-8859-1 and UTF-8 bodies, replies inside conversations,
apostrophes, and a few #TELEFONO:...# commands. Delivery times fall in the
last few days before the reference time and are written in the Maildir
file names (cur/<epoch>.<unique>.<host>:2,S), so a "last week" import
period takes them all.

    generar_bandeja.py CARPETA --mensajes 10000 [--semilla 1] [--adjuntos 0.07]
                               [--dias 4] [--ahora EPOCH]

CARPETA becomes the Maildir (cur/, new/, tmp/); it must not hold mail yet.
Prints one line: messages, bytes, messages with attachments, commands.
"""
import argparse
import base64
import email.charset
import email.header
import email.utils
import os
import quopri
import random
import sys
import time
from datetime import datetime, timedelta, timezone

NOMBRES = [
    "José Núñez", "María Ibáñez", "Íñigo Muñoz", "Begoña Aranguren", "Ramón Peña",
    "Lucía Gutiérrez", "Ángel Cañizares", "Sofía Martín", "Raúl Domínguez", "Nuria Solà",
    "Patrick O'Donnell", "Chiara D'Alessandro", "Carmen Vázquez", "Jesús Ortega",
    "Àlex Puigdomènech", "Marta Ruiz", "Pilar Jiménez", "Óscar Fernández", "Elena García",
    "Tomás Rodríguez", "Concepción López", "Joaquín Álvarez", "Noelia Expósito",
    "Administración", "Departamento de Compras", "Logística Norte", "Atención al cliente",
]
EMPRESAS = [
    ("ferreteria-nunez.test", "Ferretería Núñez"), ("espiga.test", "Almacén La Espiga"),
    ("odonnell.test", "Transportes O'Donnell"), ("maderas-pena.test", "Maderas Peña"),
    ("iberica-suministros.test", "Ibérica de Suministros"), ("lacanada.test", "Cooperativa La Cañada"),
    ("clientes.test", "Clientes Varios"), ("logistica.test", "Logística Andaluza"),
    ("talleres-munoz.test", "Talleres Muñoz"), ("papeleria.test", "Papelería Ávila"),
]
ASUNTOS = [
    "Pedido de tornillos para el almacén", "Factura {n}/2026 pendiente de pago",
    "Presupuesto {n} — revisión de precios", "Albarán nº {n} y devolución",
    "Confirmación de entrega en O'Donnell", "Reclamación: envío dañado",
    "Solicitud de catálogo de otoño", "Cambio de dirección de facturación",
    "Reunión del jueves: orden del día", "Oferta especial para clientes de Cataluña",
    "Pago recibido — gracias", "Duda sobre el pedido {n}", "Boletín de novedades de diciembre",
    "¿Podéis enviar el certificado de calidad?", "Incidencia con el transportista",
    "Listado de precios actualizado", "Pedido urgente para mañana", "Horario de Navidad",
    "Devolución de mercancía defectuosa", "Alta de nuevo proveedor",
    "Seguimiento del pedido {n}", "Consulta de stock: tuercas M8", "Cita para la revisión anual",
]
FRASES = [
    "Buenos días, os escribo en relación con el último pedido.",
    "Necesitamos 500 tornillos de 4 mm para el almacén de O'Donnell.",
    "¿Podéis confirmar el plazo de entrega antes del viernes?",
    "Adjunto la factura correspondiente al mes de noviembre.",
    "Según lo hablado por teléfono, el precio unitario queda en 3,45 €.",
    "El camión llegó con dos cajas dañadas; os mando las fotografías.",
    "Quedamos a la espera de vuestra respuesta para cerrar la operación.",
    "La reunión será en la sala de juntas de la segunda planta.",
    "Recordad que el almacén cierra a las 14:00 los sábados.",
    "Por favor, revisad el albarán porque faltan tres bultos.",
    "Muchas gracias por la rapidez en la gestión de la incidencia.",
    "El cliente D'Alessandro pregunta si aceptamos pago a 60 días.",
    "Hemos actualizado la tarifa: los descuentos por volumen siguen vigentes.",
    "Os envío el catálogo en formato PDF y la hoja de cálculo con las referencias.",
    "Si tenéis cualquier duda, no dudéis en llamarme al móvil.",
    "La mercancía saldrá del muelle de carga mañana a primera hora.",
    "Confirmamos la recepción del pago mediante transferencia bancaria.",
    "Necesitaríamos el certificado de calidad ISO de la última partida.",
    "El pedido incluye arandelas, tuercas y llaves Allen de varios tamaños.",
    "Un saludo cordial desde Logroño y feliz semana.",
    "Atentamente, el equipo de administración.",
    "Le rogamos que compruebe los datos de facturación: el NIF ha cambiado.",
    "Añadimos al envío unas muestras del nuevo acabado en acero inoxidable.",
    "La señora Ibáñez estará de vacaciones hasta el día 15.",
]
COMANDOS = ["#TELEFONO:espiga#", "#TELEFONO:Núñez#", "#TELEFONO:O'Donnell#", "#MAIL:espiga#",
            "#TELEFONO:inexistente#", "#CUENTACORRIENTE:C0002#"]
TIPOS_ADJUNTO = [
    ("application", "pdf", "pdf"), ("application", "vnd.openxmlformats-officedocument.spreadsheetml.sheet", "xlsx"),
    ("application", "msword", "doc"), ("image", "jpeg", "jpg"), ("application", "zip", "zip"),
]
NOMBRES_ADJUNTO = ["Factura {n}", "Albarán {n}", "Presupuesto {n} revisión", "Catálogo otoño",
                   "Fotografías daños", "Certificado calidad", "Tarifa 2026 Núñez", "Pedido {n} O'Donnell"]

BUZON = ("Ventas", "ventas@demo.test")
HOST = "correo-bench"
ZONA = timezone(timedelta(hours=1))

# 8-bit UTF-8 bodies must stay 8-bit: the library would pick base64 for them.
email.charset.add_charset("utf-8", email.charset.SHORTEST, None, "utf-8")


def direccion(r, nombre=None):
    dominio, empresa = r.choice(EMPRESAS)
    nombre = nombre or r.choice(NOMBRES)
    local = "".join(c for c in nombre.lower().translate(str.maketrans("áéíóúàèòñçü' ", "aeiouaeoncu.."))
                    if c.isascii() and (c.isalnum() or c == ".")).strip(".") or "info"
    return nombre, "%s@%s" % (local, dominio)


def cabecera_nombre(r, nombre, addr):
    if nombre.isascii():
        return email.utils.formataddr((nombre, addr))
    charset = "utf-8" if r.random() < 0.7 else "iso-8859-1"
    return email.utils.formataddr((nombre, addr), charset=charset)


def cabecera_asunto(r, asunto):
    if asunto.isascii():
        return asunto
    try:
        asunto.encode("iso-8859-1")
        latin = r.random() < 0.35
    except UnicodeEncodeError:
        latin = False
    return email.header.Header(asunto, "iso-8859-1" if latin else "utf-8").encode()


def parrafos(r, cuantos):
    return "\n\n".join(" ".join(r.choice(FRASES) for _ in range(r.randint(2, 6))) for _ in range(cuantos))


def parte_texto(r, subtipo, texto):
    """One text part, charset and transfer encoding drawn at random."""
    latin = False
    try:
        texto.encode("iso-8859-1")
        latin = r.random() < 0.35
    except UnicodeEncodeError:
        pass
    charset = "iso-8859-1" if latin else "utf-8"
    datos = texto.replace("\n", "\r\n").encode(charset)
    cte = r.choice(["8bit", "quoted-printable", "quoted-printable", "base64"] if not latin
                   else ["8bit", "quoted-printable"])
    if cte == "8bit":
        cuerpo = texto.encode(charset)
    elif cte == "quoted-printable":
        cuerpo = quopri.encodestring(datos).replace(b"\r\n", b"\n")
    else:
        cuerpo = base64.encodebytes(datos)
    cab = "Content-Type: text/%s; charset=%s\nContent-Transfer-Encoding: %s\n" % (
        subtipo, "ISO-8859-1" if latin else "UTF-8", cte)
    return cab.encode("ascii") + b"\n" + cuerpo.rstrip(b"\n") + b"\n"


def binaria(cab, datos):
    return cab.encode("utf-8") + b"Content-Transfer-Encoding: base64\n\n" + base64.encodebytes(datos)


def multiparte(subtipo, frontera, partes, extra=""):
    salida = [("Content-Type: multipart/%s; boundary=\"%s\"%s\n\n" % (subtipo, frontera, extra)).encode("ascii")]
    for p in partes:
        salida.append(b"--" + frontera.encode() + b"\n" + p + b"\n")
    salida.append(b"--" + frontera.encode() + b"--\n")
    return b"".join(salida)


def html_de(texto, imagenes):
    cuerpo = "".join("<p>%s</p>\n" % p.replace("&", "&amp;").replace("<", "&lt;").replace("\n", "<br>")
                     for p in texto.split("\n\n"))
    imgs = "".join('<p><img src="cid:%s" alt="imagen %d" width="120"></p>\n' % (cid, i + 1)
                   for i, cid in enumerate(imagenes))
    return ("<html><head><meta charset=\"utf-8\"><style>p{font-family:Calibri,sans-serif;color:#1f3864}"
            "</style></head><body>\n%s%s<table border=\"1\"><tr><td>Ref.</td><td>Cantidad</td></tr>"
            "<tr><td>TOR-4</td><td>500</td></tr></table>\n<p style='color:#888'>Este mensaje es confidencial.</p>"
            "</body></html>" % (imgs[: len(imgs) // 2] + cuerpo, imgs[len(imgs) // 2:]))


def tamano_adjunto(r):
    # A few KB to 2 MB, most of them small: log-uniform with a bias to the bottom.
    return int(4096 * (512 ** (r.random() ** 1.7)))


def nombre_adjunto_cabecera(r, nombre, mime):
    if nombre.isascii():
        return 'Content-Type: %s; name="%s"\nContent-Disposition: attachment; filename="%s"\n' % (mime, nombre, nombre)
    if r.random() < 0.5:  # what Outlook writes
        e = email.header.Header(nombre, "utf-8").encode()
        return 'Content-Type: %s; name="%s"\nContent-Disposition: attachment; filename="%s"\n' % (mime, e, e)
    e = email.utils.encode_rfc2231(nombre, "utf-8")
    return "Content-Type: %s; name*=%s\nContent-Disposition: attachment; filename*=%s\n" % (mime, e, e)


class Generador:
    def __init__(self, semilla, fraccion_adjuntos, fraccion_comandos):
        self.r = random.Random(semilla)
        self.semilla = semilla
        self.adjuntos = fraccion_adjuntos
        self.comandos = fraccion_comandos
        self.recientes = []  # (message-id, references, subject, thread-index) of the last messages
        self.con_adjuntos = 0
        self.con_comando = 0

    def mensaje(self, n, entrega):
        r = self.r
        nombre, addr = direccion(r)
        msgid = "<%d.%s.%d@%s>" % (n, format(self.semilla, "x"), r.randrange(10**9), addr.split("@")[1])
        padre = None
        if self.recientes and r.random() < 0.3:
            padre = r.choice(self.recientes[-200:])
        if padre:
            raiz_asunto = padre[2]
            asunto = (r.choice(["Re: ", "RE: ", "Re: ", "RV: "]) + raiz_asunto)
            referencias = (padre[1] + [padre[0]])[-10:]
            # Outlook appends five bytes per reply to the thread's index.
            indice = base64.b64encode(base64.b64decode(padre[3]) + r.randbytes(5)).decode() if padre[3] else None
        else:
            raiz_asunto = r.choice(ASUNTOS).format(n=r.randint(100, 9999))
            asunto = raiz_asunto
            referencias = []
            indice = base64.b64encode(r.randbytes(22)).decode() if r.random() < 0.15 else None
        self.recientes.append((msgid, referencias, raiz_asunto, indice))
        if len(self.recientes) > 400:
            del self.recientes[:200]

        texto = parrafos(r, r.randint(2, 12))
        if padre:
            texto += "\n\nEl %s, %s escribió:\n> %s" % (
                "lunes", r.choice(NOMBRES), "\n> ".join(parrafos(r, 2).split("\n")))
        clase = r.random()
        if r.random() < self.comandos:
            texto = "Hola, necesito el dato: %s\n\n%s" % (r.choice(COMANDOS), texto)
            self.con_comando += 1
            # Commands come in plain text: in HTML the first "#" is a CSS colour.
            clase = 0.0
        frontera = "----=_Parte_%d_%08x" % (n, r.getrandbits(32))
        if clase < 0.35:
            cuerpo = parte_texto(r, "plain", texto)
        elif clase < 0.65:
            cuerpo = multiparte("alternative", frontera + "_alt",
                                [parte_texto(r, "plain", texto), parte_texto(r, "html", html_de(texto, []))])
        elif clase < 0.85:
            imagenes = []
            partes_img = []
            for i in range(r.randint(1, 3)):
                cid = "image%03d.%s@01DB%04X.%08X" % (i + 1, "png" if i % 2 == 0 else "jpg", n % 65536, r.getrandbits(32))
                imagenes.append(cid)
                ext = cid.split("@")[0].split(".")[1]
                mime = "image/png" if ext == "png" else "image/jpeg"
                partes_img.append(binaria(
                    'Content-Type: %s; name="%s"\nContent-Disposition: inline; filename="%s"\nContent-ID: <%s>\n'
                    % (mime, cid.split("@")[0], cid.split("@")[0], cid),
                    r.randbytes(r.randint(3000, 25000))))
            alternativa = multiparte("alternative", frontera + "_alt",
                                     [parte_texto(r, "plain", texto), parte_texto(r, "html", html_de(texto, imagenes))])
            cuerpo = multiparte("related", frontera + "_rel", [alternativa] + partes_img,
                                '; type="multipart/alternative"')
        else:
            cuerpo = parte_texto(r, "html", html_de(texto, []))

        if r.random() < self.adjuntos:
            self.con_adjuntos += 1
            partes = [cuerpo]
            for _ in range(1 if r.random() < 0.75 else 2):
                tipo, subtipo, ext = r.choice(TIPOS_ADJUNTO)
                nombre_adj = r.choice(NOMBRES_ADJUNTO).format(n=r.randint(100, 9999)) + "." + ext
                partes.append(binaria(nombre_adjunto_cabecera(r, nombre_adj, "%s/%s" % (tipo, subtipo)),
                                      r.randbytes(tamano_adjunto(r))))
            cuerpo = multiparte("mixed", frontera + "_mix", partes)

        enviado = entrega - r.randint(5, 600)
        fecha = email.utils.format_datetime(datetime.fromtimestamp(enviado, ZONA))
        relay = "mx%d.%s" % (r.randint(1, 4), addr.split("@")[1])
        cab = [
            "Return-Path: <%s>" % addr,
            "Received: from %s (%s [192.0.2.%d])\n\tby mail.demo.test with ESMTPS id %08X\n\tfor <%s>; %s"
            % (relay, relay, r.randint(1, 254), r.getrandbits(32), BUZON[1], email.utils.format_datetime(
                datetime.fromtimestamp(entrega, ZONA))),
            "Received: from [10.0.%d.%d] by %s with ESMTPSA; %s" % (r.randint(0, 255), r.randint(1, 254), relay, fecha),
            "DKIM-Signature: v=1; a=rsa-sha256; c=relaxed/relaxed; d=%s; s=sel1; h=from:to:subject:date;\n\tbh=%s;\n\tb=%s"
            % (addr.split("@")[1], base64.b64encode(r.randbytes(32)).decode(),
               "\n\t ".join(base64.b64encode(r.randbytes(256)).decode()[i:i + 70] for i in range(0, 344, 70))),
            "From: %s" % cabecera_nombre(r, nombre, addr),
            "To: %s" % cabecera_nombre(r, *BUZON),
        ]
        if r.random() < 0.2:
            cc = [direccion(r) for _ in range(r.randint(1, 3))]
            cab.append("Cc: %s" % ",\n ".join(cabecera_nombre(r, a, b) for a, b in cc))
        cab += [
            "Subject: %s" % cabecera_asunto(r, asunto),
            "Date: %s" % fecha,
            "Message-ID: %s" % msgid,
        ]
        if padre:
            cab.append("In-Reply-To: %s" % padre[0])
            cab.append("References: %s" % "\n ".join(referencias))
        if indice:
            cab.append("Thread-Index: %s" % indice)
        cab += ["MIME-Version: 1.0", "X-Mailer: Microsoft Outlook 16.0" if indice else "User-Agent: Thunderbird/115.5"]
        return ("\n".join(cab) + "\n").encode("utf-8") + cuerpo


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("carpeta")
    p.add_argument("--mensajes", type=int, default=2000)
    p.add_argument("--semilla", type=int, default=1)
    p.add_argument("--adjuntos", type=float, default=0.07, help="share of messages with attachments")
    p.add_argument("--comandos", type=float, default=0.002, help="share of messages with a #...# command")
    p.add_argument("--dias", type=float, default=4, help="delivery times spread over this many days")
    p.add_argument("--ahora", type=int, default=None, help="reference time, epoch seconds (default: now)")
    a = p.parse_args()

    ahora = a.ahora if a.ahora is not None else int(time.time())
    cur = os.path.join(a.carpeta, "cur")
    for sub in ("cur", "new", "tmp"):
        os.makedirs(os.path.join(a.carpeta, sub), exist_ok=True)
    if os.listdir(cur) or os.listdir(os.path.join(a.carpeta, "new")):
        sys.exit("%s already holds mail" % a.carpeta)

    g = Generador(a.semilla, a.adjuntos, a.comandos)
    inicio = ahora - int(a.dias * 86400)
    fin = ahora - 120
    paso = (fin - inicio) / max(a.mensajes, 1)
    total = 0
    for n in range(a.mensajes):
        entrega = int(inicio + n * paso)
        datos = g.mensaje(n, entrega)
        nombre = "%d.M%06dP%dQ%d.%s:2,S" % (entrega, g.r.randrange(10**6), 3000 + n % 7000, n, HOST)
        ruta = os.path.join(cur, nombre)
        with open(ruta, "wb") as f:
            f.write(datos)
        os.utime(ruta, (entrega, entrega))
        total += len(datos)
    print("%d mensajes, %d bytes (%.1f KB de media), %d con adjuntos, %d con comando"
          % (a.mensajes, total, total / max(a.mensajes, 1) / 1024, g.con_adjuntos, g.con_comando))


if __name__ == "__main__":
    main()
