#!/bin/sh
# The installed program run as an unprivileged user: start-up completes, an
# import stores its rows and attachments in the user's data folder, and
# nothing is written into the prefix.
. "$(dirname "$0")/comun.sh"

for f in bin/recepcion-email bin/recepcion-sql; do
    test -x "$prefijo/$f" || fallar "falta $f"
done
datos="$casa/.local/share/recepcion-email"
bandeja="$casa/Mail/ventas@empresa.test/Bandeja de entrada"
como_usuario mkdir -p "$casa/tmp" "$bandeja/cur" "$bandeja/new" "$bandeja/tmp"
llegada=$(($(date +%s) - 60))
como_usuario sh -c "cat > '$bandeja/cur/$llegada.M1.equipo:2,S'" <<'CORREO'
From: Cliente <cliente@cliente.test>
To: ventas@empresa.test
Subject: Pedido con factura
Message-ID: <pedido-1@cliente.test>
MIME-Version: 1.0
Content-Type: multipart/mixed; boundary="limite"

--limite
Content-Type: text/plain; charset=utf-8

Adjunto la factura.
--limite
Content-Type: application/pdf
Content-Disposition: attachment; filename="factura.pdf"
Content-Transfer-Encoding: base64

JVBERi0xLjQK
--limite--
CORREO

arbol() { find "$prefijo" -printf '%p %s %T@\n' | sort; }
antes=$(arbol)
salida=$(como_usuario "$prefijo/bin/recepcion-email" --desatendido --recibir ventas@empresa.test 2>&1) ||
    fallar "la recepción terminó con $?: $salida"
echo "$salida"
test "$antes" = "$(arbol)" || fallar "el programa escribió en el prefijo"

echo "$salida" | tail -n 1 | grep -qx 'Cuenta ventas@empresa.test: filas nuevas 1, conocidos 0, omitidos 0, respuestas enviadas 0, fallos 0, no son correo 0' ||
    fallar "la última línea no es el resumen"
sql() { como_usuario "$prefijo/bin/recepcion-sql" GESTION -e "$1"; }
# Start-up ran whole: the settings were loaded and saved, the access recorded.
test "$(sql "SELECT Valor FROM TA_CONFIGURACION WHERE Clave = 'EMAIL_CARPETAADJUNTOS'")" = "Valor
$datos/EMAIL/ADJUNTOS/" || fallar "la carpeta de adjuntos no es la de datos del usuario"
test "$(sql "SELECT COUNT(*) AS n FROM Control_Acceso")" = "n
1" || fallar "falta el registro de acceso"
test "$(sql "SELECT ASUNTO FROM V_MA_EMAILMOV")" = "ASUNTO
Pedido con factura" || fallar "falta la fila del mensaje"
test -f "$datos/consultas.crv" || fallar "falta consultas.crv en la carpeta de datos"
test -d "$datos/Mails" || fallar "falta Mails/ en la carpeta de datos"
test "$(cat "$datos/EMAIL/ADJUNTOS/$llegada.M1.equipo/factura.pdf")" = "%PDF-1.4" || fallar "falta el adjunto"
test "$(stat -c %U "$datos/EMAIL/ADJUNTOS/$llegada.M1.equipo/factura.pdf")" = nobody || fallar "el adjunto no es del usuario"
