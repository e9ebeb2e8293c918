#!/usr/bin/python3
"""SMTP server for the tests, on 127.0.0.1 only.

Listens on a free port, prints it on one line when it is ready, and keeps
every message it accepts in the folder given: NNN.eml holds the data as
received, NNN.json the envelope and the message as Python's own mail parser
reads it (written last, so its presence means the message is complete).
conexiones.log gets one line per connection, so a test can tell that a
refused message never reached the server at all.

How it behaves is read from the JSON file "comportamiento" in the folder at each new
connection, so a test can change it between two sends:
  "saludo": "421 ..."      greet with this answer and hang up
  "MAIL", "RCPT": "4xx/5xx ..."  answer this to the command
  "DATA": "4xx/5xx ..."    answer this after the message text (not kept)
  "cortar_tras_datos": true  keep the message, then hang up without answering
  "retraso": s, "lentas": n  wait s seconds before each of the first n answers
                           (every answer when "lentas" is missing)
  "mudo": true             accept the connection and never answer

It stops when its standard input closes, so it never outlives the test.
"""
import argparse
import asyncio
import email
import email.policy
import json
import logging
import os
import socket
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def escribir(ruta, contenido):
    temporal = ruta + ".tmp"
    with open(temporal, "wb") as f:
        f.write(contenido)
    os.replace(temporal, ruta)


def comportamiento(carpeta):
    try:
        with open(os.path.join(carpeta, "comportamiento")) as f:
            return json.load(f)
    except FileNotFoundError:
        return {}


class Almacen:
    def __init__(self, carpeta):
        self.carpeta = carpeta
        self.cuenta = 0

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if "MAIL" in server.comportamiento:
            return server.comportamiento["MAIL"]
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if "RCPT" in server.comportamiento:
            return server.comportamiento["RCPT"]
        envelope.rcpt_tos.append(address)
        envelope.rcpt_options.extend(rcpt_options)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if "DATA" in server.comportamiento:
            return server.comportamiento["DATA"]
        self.cuenta += 1
        base = os.path.join(self.carpeta, "%03d" % self.cuenta)
        datos = envelope.content
        escribir(base + ".eml", datos)
        mensaje = email.message_from_bytes(datos, policy=email.policy.default)
        cuerpo = mensaje.get_body()
        sobre = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "usuario": session.auth_data.decode() if session.authenticated else None,
            # session.ssl is set after STARTTLS only; implicit TLS shows on the transport.
            "tls": (session.ssl is not None
                    or server.transport.get_extra_info("ssl_object") is not None),
            "cabeceras": [nombre for nombre in mensaje.keys()],
            "subject": str(mensaje.get("Subject", "")),
            "from": str(mensaje.get("From", "")),
            "from_nombre": mensaje["From"].addresses[0].display_name if mensaje["From"] else "",
            "to": str(mensaje.get("To", "")),
            "auto_submitted": str(mensaje.get("Auto-Submitted", "")),
            "content_type": cuerpo.get_content_type() if cuerpo else "",
            "charset": cuerpo.get_content_charset() if cuerpo else "",
            "cuerpo": cuerpo.get_content() if cuerpo else "",
        }
        escribir(base + ".json", json.dumps(sobre, ensure_ascii=False).encode())
        if server.comportamiento.get("cortar_tras_datos"):
            server.transport.abort()
        return "250 OK"


def autenticador(usuario, clave):
    def comprobar(server, session, envelope, mechanism, auth_data):
        valido = (isinstance(auth_data, LoginPassword)
                  and auth_data.login == usuario.encode()
                  and auth_data.password == clave.encode())
        # handled=False: the server itself answers 535 to a refused login.
        return AuthResult(success=valido, handled=False,
                          auth_data=auth_data.login if valido else None)
    return comprobar


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("carpeta")
    p.add_argument("--usuario", help="require AUTH LOGIN/PLAIN with this user")
    p.add_argument("--clave", default="")
    p.add_argument("--tls", choices=["no", "starttls", "implicito"], default="no")
    p.add_argument("--certificado")
    p.add_argument("--clave-privada")
    a = p.parse_args()
    # Plain-text AUTH is what the tests want; keep the server's advice quiet.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.ERROR)

    contexto = None
    if a.tls != "no":
        contexto = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        contexto.load_cert_chain(a.certificado, a.clave_privada)

    almacen = Almacen(a.carpeta)
    registro = open(os.path.join(a.carpeta, "conexiones.log"), "a", buffering=1)

    class Servidor(SMTP):
        def connection_made(self, transport):
            registro.write("%s\n" % (transport.get_extra_info("peername"),))
            self.comportamiento = comportamiento(a.carpeta)
            self.lentas = self.comportamiento.get("lentas", -1)
            saludo = self.comportamiento.get("saludo")
            self.rechazada = bool(saludo)
            if saludo:
                transport.write(saludo.encode() + b"\r\n")
                transport.close()
                return
            super().connection_made(transport)

        def data_received(self, data):
            if not self.rechazada:
                super().data_received(data)

        def eof_received(self):
            return None if self.rechazada else super().eof_received()

        def connection_lost(self, error):
            if not self.rechazada:
                super().connection_lost(error)

        async def push(self, status):
            if self.comportamiento.get("mudo"):
                await asyncio.sleep(3600)
            if self.lentas != 0 and self.comportamiento.get("retraso"):
                self.lentas -= 1
                await asyncio.sleep(self.comportamiento["retraso"])
            if self.transport is None or self.transport.is_closing():
                return
            await super().push(status)

    opciones = dict(hostname="servidor.prueba", auth_require_tls=False)
    if a.usuario is not None:
        opciones.update(auth_required=True, authenticator=autenticador(a.usuario, a.clave))
    if a.tls == "starttls":
        opciones.update(tls_context=contexto, require_starttls=True)

    zocalo = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    zocalo.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    zocalo.bind(("127.0.0.1", 0))
    zocalo.listen()

    bucle = asyncio.new_event_loop()
    asyncio.set_event_loop(bucle)
    servidor = bucle.run_until_complete(bucle.create_server(
        lambda: Servidor(almacen, loop=bucle, **opciones), sock=zocalo,
        ssl=contexto if a.tls == "implicito" else None))

    def leer_entrada():
        if not sys.stdin.buffer.read1(4096):
            bucle.stop()
    bucle.add_reader(sys.stdin.fileno(), leer_entrada)

    print(zocalo.getsockname()[1], flush=True)
    try:
        bucle.run_forever()
    finally:
        servidor.close()


if __name__ == "__main__":
    main()
