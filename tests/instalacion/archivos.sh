#!/bin/sh
# The installed desktop entry, service units and manual page, checked by the
# tools that read them.
. "$(dirname "$0")/comun.sh"

for f in share/applications/recepcion-email.desktop share/icons/hicolor/scalable/apps/recepcion-email.svg \
    share/man/man1/recepcion-email.1 lib/systemd/user/recepcion-email@.service lib/systemd/user/recepcion-email@.timer \
    share/recepcion-email/sqlserver/negocio.sql share/recepcion-email/mariadb/negocio.sql; do
    test -f "$prefijo/$f" || fallar "falta $f"
done
for n in 16 24 32 48 64 128 256; do
    icono="$prefijo/share/icons/hicolor/${n}x$n/apps/recepcion-email.png"
    test -f "$icono" || fallar "falta el icono de $n"
done

desktop-file-validate "$prefijo/share/applications/recepcion-email.desktop"
# The entry starts the installed program by name.
grep -qx 'Exec=recepcion-email' "$prefijo/share/applications/recepcion-email.desktop" || fallar "Exec no es recepcion-email"

# Templates are verified as one account's instance, as the user enables them.
unidades="$raiz/unidades"
mkdir -p "$unidades"
for t in service timer; do
    cp "$prefijo/lib/systemd/user/recepcion-email@.$t" "$unidades/recepcion-email@ventas@empresa.test.$t"
done
grep -qx "ExecStart=$prefijo/bin/recepcion-email --desatendido --recibir %i \$RECEPCION_PARAMETROS" \
    "$unidades/recepcion-email@ventas@empresa.test.service" || fallar "el servicio no nombra el programa instalado"
mkdir -m 700 "$raiz/ejecucion"
avisos=$(cd "$unidades" && XDG_RUNTIME_DIR="$raiz/ejecucion" systemd-analyze --user verify --man=no \
    recepcion-email@ventas@empresa.test.service recepcion-email@ventas@empresa.test.timer 2>&1) ||
    fallar "systemd-analyze: $avisos"
test -z "$avisos" || fallar "systemd-analyze: $avisos"

avisos=$(MANWIDTH=80 man --warnings -l "$prefijo/share/man/man1/recepcion-email.1" 2>&1 >/dev/null)
test -z "$avisos" || fallar "man: $avisos"
MANWIDTH=80 man -l "$prefijo/share/man/man1/recepcion-email.1" | grep -q 'ESTADO DE SALIDA' || fallar "man no muestra la página"
