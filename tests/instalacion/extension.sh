#!/bin/sh
# The installed SQLite extension: the sqlite3 shell compares without case or
# accents and writes into the indexed tables, and the program reads its rows.
. "$(dirname "$0")/comun.sh"

extension="$prefijo/lib/recepcion-email/recepcion_sqlite"
test -f "$extension.so" || fallar "falta la extensión"
datos="$casa/datos"
como_usuario mkdir -p "$datos" "$casa/tmp"
sql() { como_usuario env RECEPCION_DATOS="$datos" "$prefijo/bin/recepcion-sql" "$@"; }
sql --crear GESTION -e "INSERT INTO MA_CUENTAS (Codigo, Descripcion) VALUES ('C1', 'ALMACÉN CENTRAL')" >/dev/null
base="$datos/GESTION.db"

# Without the extension the file is closed to the standard tool.
if como_usuario sqlite3 "$base" "SELECT Codigo FROM MA_CUENTAS WHERE Descripcion = 'x'" 2>/dev/null; then
    fallar "sqlite3 leyó la base sin la extensión: la prueba no prueba nada"
fi
shell() { como_usuario sqlite3 -batch -bail "$base" -cmd ".load $extension" "$@"; }
test "$(shell "SELECT Codigo FROM MA_CUENTAS WHERE Descripcion = 'almacen central'")" = C1 ||
    fallar "la comparación sin acentos no funciona en sqlite3"
test "$(shell "SELECT COUNT(*) FROM MA_CUENTAS WHERE Descripcion LIKE '%almacén%'")" = 1 ||
    fallar "LIKE sin acentos no funciona en sqlite3"
test "$(shell "SELECT len('abc  ')")" = 3 || fallar "len() no es la del programa"
shell "SELECT getdate()" | grep -qE '^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}$' ||
    fallar "getdate() no es la del programa"
# Rows written by the shell into indexed tables, read back by the program.
shell "INSERT INTO V_MA_EMAILMOV (UIDL, CuentaEmail, ASUNTO, FECHAHORA) VALUES ('u1', 'Ventas@Empresa.test', 'Facturación', getdate());
       INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('DATOS', 'ACTUALIZA_OUTLOOK', 'Ultimo Mes')"
test "$(sql GESTION -e "SELECT ASUNTO FROM V_MA_EMAILMOV WHERE CuentaEmail = 'ventas@empresa.test' AND ASUNTO = 'FACTURACION'")" = "ASUNTO
Facturación" || fallar "el programa no lee la fila escrita por sqlite3"
test "$(sql GESTION -e "SELECT Valor FROM TA_CONFIGURACION WHERE clave = 'actualiza_outlook'")" = "Valor
Ultimo Mes" || fallar "el programa no lee el ajuste escrito por sqlite3"
# The unique index holds for the shell as for the program.
if shell "INSERT INTO V_MA_EMAILMOV (UIDL, CuentaEmail) VALUES ('u1', 'otra')" 2>/dev/null; then
    fallar "sqlite3 guardó una fila repetida"
fi
# Python's sqlite3 module loads it the same way.
como_usuario python3 - "$base" "$extension" <<'PY'
import sqlite3, sys
con = sqlite3.connect(sys.argv[1])
con.enable_load_extension(True)
con.load_extension(sys.argv[2])
fila = con.execute("SELECT Codigo FROM MA_CUENTAS WHERE Descripcion = 'ALMACEN central'").fetchone()
assert fila == ("C1",), fila
PY
