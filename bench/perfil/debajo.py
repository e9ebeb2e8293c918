#!/usr/bin/python3
"""Where the time below a frame goes, from plegar.py's output.

    debajo.py ARCHIVO.plegado PATRÓN [PROFUNDIDAD] [LÍNEAS]

For each sample, takes the first frame matching PATRÓN (a regular
expression) and counts the next PROFUNDIDAD frames below it, leaving out
std::function plumbing and the step runner. Percentages are of all samples.
"""
import collections
import re
import sys

archivo, patron = sys.argv[1], re.compile(sys.argv[2])
profundidad = int(sys.argv[3]) if len(sys.argv) > 3 else 1
lineas = int(sys.argv[4]) if len(sys.argv) > 4 else 25
ruido = re.compile(r"^(std::|__invoke|_M_invoke|operator\(\)$|\?$|EjecutarUno|platform::runtime::Ejecutar|0x)")


def corto(marco):
    marco = marco.replace("reception::LeerOutlook(reception::VistaRecepcion&, QString const&, QString&, QString&)",
                          "LeerOutlook")
    return marco[:110]


total = dentro = 0
cuentas = collections.Counter()
for linea in open(archivo):
    pila, n = linea.rsplit(" ", 1)
    n = int(n)
    total += n
    marcos = pila.split(";")
    for i, m in enumerate(marcos):
        if patron.search(m):
            dentro += n
            resto = [corto(x) for x in marcos[i + 1:] if not ruido.search(x)]
            cuentas[" > ".join(resto[:profundidad]) or "(propio)"] += n
            break
print("%d muestras, %d (%.1f %%) debajo del patrón" % (total, dentro, 100 * dentro / max(total, 1)))
for clave, n in cuentas.most_common(lineas):
    print("%6.2f %%  %s" % (100 * n / total, clave))
