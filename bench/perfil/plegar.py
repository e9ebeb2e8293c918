#!/usr/bin/python3
"""Folds `perf script` output into one line per stack: "root;...;leaf count".

With --hilo each stack starts with its thread, "hilo-<tid>", so that the
window's thread and the reading-ahead thread can be looked at apart:
the thread that waits on the other is the one that is not the bottleneck.
"""
import collections
import re
import sys

cuentas = collections.Counter()
pila = []
por_hilo = "--hilo" in sys.argv[1:]
hilo = ""


def cerrar():
    if pila:
        cuentas[hilo + ";".join(reversed(pila))] += 1
    pila.clear()


for linea in sys.stdin:
    linea = linea.rstrip("\n")
    if not linea.strip():
        cerrar()
        continue
    if not linea[0].isspace():
        cerrar()  # the sample's own line: command, thread id, time, event
        if por_hilo:
            campos = linea.split()
            hilo = "hilo-%s;" % (campos[1] if len(campos) > 1 else "?")
        continue
    partes = linea.strip().split(None, 1)
    if len(partes) < 2:
        continue
    simbolo = re.sub(r"\s+\(\S+\)$", "", partes[1])  # the library in brackets
    simbolo = re.sub(r"\+0x[0-9a-f]+$", "", simbolo)
    pila.append("?" if simbolo.startswith("[unknown]") else simbolo)
cerrar()
for pila_, n in cuentas.items():
    print(pila_, n)
