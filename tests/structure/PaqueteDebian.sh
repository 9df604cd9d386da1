#!/usr/bin/env bash
# The Debian package made from a build: it holds the programs, their
# libraries and manual side by side with links in /usr/bin, the demo files,
# the OSC maps, a desktop entry and its icon; and, unpacked, the program runs
# from its installed folder (its libraries found through RUNPATH alone),
# ends normally on SIGTERM and keeps its settings in the user's
# configuration folder, not beside the executable.
# Usage: PaqueteDebian.sh <build-dir>
set -euo pipefail
build="$1"
trabajo="$(mktemp -d)"
programa=""
terminar() {
    if [ -n "$programa" ]; then
        kill -KILL "$programa" 2> /dev/null || true
    fi
    rm -rf "$trabajo"
}
trap terminar EXIT
fallar() {
    echo "PaqueteDebian: $*" >&2
    exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$trabajo/cpack" > "$trabajo/cpack.txt" 2>&1 \
    || { cat "$trabajo/cpack.txt" >&2; fallar "cpack failed"; }
paquetes=("$trabajo"/cpack/gedanko_*.deb)
[ -f "${paquetes[0]}" ] || fallar "no gedanko_*.deb made"
deb="${paquetes[0]}"

[ "$(dpkg-deb -f "$deb" Package)" = gedanko ] || fallar "package name"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fallar "Depends lacks Qt Widgets: $(dpkg-deb -f "$deb" Depends)"

dpkg-deb -c "$deb" | awk '{ print $6 $7 $8 }' > "$trabajo/contenido.txt"
for esperado in \
    ./usr/lib/gedanko/gedanko ./usr/lib/gedanko/gedanko-emulador ./usr/lib/gedanko/gedanko-receptor \
    ./usr/lib/gedanko/libedk.so ./usr/lib/gedanko/libinpout32.so ./usr/lib/gedanko/gedanko.html \
    ./usr/lib/gedanko/grabador/libinpout32.so \
    ./usr/bin/gedanko-\>../lib/gedanko/gedanko \
    ./usr/bin/gedanko-emulador-\>../lib/gedanko/gedanko-emulador \
    ./usr/bin/gedanko-receptor-\>../lib/gedanko/gedanko-receptor \
    ./usr/share/gedanko/perfiles/demo.emu ./usr/share/gedanko/escenarios/demo.esc \
    ./usr/share/gedanko/mapas/muse.map ./usr/share/gedanko/mapas/generico.map \
    ./usr/share/applications/gedanko.desktop ./usr/share/icons/hicolor/scalable/apps/gedanko.svg \
    ./usr/share/doc/gedanko/README.md; do
    grep -qxF "$esperado" "$trabajo/contenido.txt" || fallar "missing $esperado"
done
if grep -qE '^\./usr/lib/gedanko/.*(prueba|banco|grabacion)' "$trabajo/contenido.txt"; then
    fallar "test or bench files in the package"
fi

dpkg-deb -x "$deb" "$trabajo/raiz"
grep -qx 'Exec=gedanko' "$trabajo/raiz/usr/share/applications/gedanko.desktop" || fallar "desktop entry's Exec"

# Started through its link, as the desktop entry does, with nothing to help
# it find its libraries.
mkdir -p "$trabajo/config"
env -u LD_LIBRARY_PATH XDG_CONFIG_HOME="$trabajo/config" QT_QPA_PLATFORM=offscreen \
    "$trabajo/raiz/usr/bin/gedanko" > "$trabajo/salida.txt" 2>&1 &
programa=$!
# The settings folder is made at start-up, once the end-of-session signals
# are handled.
for _ in $(seq 600); do
    [ -d "$trabajo/config/gedanko" ] && break
    kill -0 "$programa" 2> /dev/null || break
    sleep 0.1
done
[ -d "$trabajo/config/gedanko" ] || { cat "$trabajo/salida.txt" >&2; fallar "the installed program did not start"; }
kill -TERM "$programa"
estado=0
wait "$programa" || estado=$?
programa=""
[ "$estado" -eq 0 ] || { cat "$trabajo/salida.txt" >&2; fallar "exit status $estado after SIGTERM"; }
grep -q '^AVRET=5' "$trabajo/config/gedanko/gedanko.ini" || fallar "no settings in the user's folder"
[ ! -e "$trabajo/raiz/usr/lib/gedanko/gedanko.ini" ] || fallar "settings written beside the installed program"
echo "PaqueteDebian: $(basename "$deb") passes"
