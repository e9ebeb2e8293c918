#!/bin/sh
# Installs the build into a temporary prefix and runs the installed program as
# an unprivileged user, whose home is a temporary folder too.
set -eu
build="$1"
raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
prefijo="$raiz/prefijo"
cmake --install "$build" --prefix "$prefijo" >/dev/null
for f in bin/recepcion-email bin/recepcion-sql; do
    test -x "$prefijo/$f" || { echo "falta $f" >&2; exit 1; }
done
antes=$(find "$prefijo" | sort)
casa="$raiz/casa"
mkdir -p "$casa"
chmod -R a+rX "$raiz"
chown nobody "$casa" 2>/dev/null || true
setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME="$casa" PATH=/usr/bin:/bin \
    "$prefijo/bin/recepcion-email" --help >/dev/null
despues=$(find "$prefijo" | sort)
test "$antes" = "$despues" || { echo "el programa escribió en el prefijo" >&2; exit 1; }
