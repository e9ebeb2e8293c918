# Sourced by the install tests: installs the build into a temporary prefix
# and prepares an unprivileged user's home, both removed at the end.
# Sets raiz, prefijo, casa; como_usuario runs a command as that user.
set -eu
build="$1"
raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
prefijo="$raiz/prefijo"
casa="$raiz/casa"
cmake --install "$build" --prefix "$prefijo" >/dev/null
mkdir -p "$casa"
chmod -R a+rX "$raiz"
chown nobody:nogroup "$casa"

# Root ignores permissions: the program must run as a user who cannot write
# the prefix, with only what a login would give it.
como_usuario() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env -i HOME="$casa" PATH=/usr/bin:/bin LANG=C.UTF-8 TEMP="$casa/tmp" TMP="$casa/tmp" "$@"
}

fallar() {
    echo "$*" >&2
    exit 1
}
