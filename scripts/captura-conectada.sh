#!/usr/bin/env bash
# Renders the main window during a real connected run into
# docs/ventana-conectada.png: a gedanko-emulador on a free loopback port plays
# tests/integration/conectada.esc, and the window connects to it through
# libedk.so, loads the demo profile, drives with port output on (the recording
# port library stands in for the parallel port and records nothing) and is
# grabbed after a few seconds, under a virtual X server.
# The picture tools are built with the tests.
# Usage: scripts/captura-conectada.sh [build-dir]   (default: build-test)
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$raiz/build-test}"
cmake -S "$raiz" -B "$dir" -G Ninja -DGEDANKO_TESTS=ON > /dev/null
cmake --build "$dir" --target captura_conectada gedanko-emulador inpout32_grabador
mkdir -p "$raiz/docs"
fichero="$raiz/docs/ventana-conectada.png"

trabajo="$(mktemp -d)"
emulador=""
terminar() {
    if [ -n "$emulador" ]; then
        kill "$emulador" 2> /dev/null || true
        wait "$emulador" 2> /dev/null || true
    fi
    rm -rf "$trabajo"
}
trap terminar EXIT

# 64 EmoStates a second fill most of the chart in the seconds before the grab.
"$dir/bin/gedanko-emulador" --direccion 127.0.0.1 --puerto 0 --tasa 64 \
    --escenario "$raiz/tests/integration/conectada.esc" < /dev/null 2> "$trabajo/emulador.txt" &
emulador=$!
puerto=""
for _ in $(seq 100); do
    puerto="$(sed -n 's/.*escuchando en 127\.0\.0\.1:\([0-9]*\) .*/\1/p' "$trabajo/emulador.txt")"
    [ -n "$puerto" ] && break
    kill -0 "$emulador" 2> /dev/null || break
    sleep 0.1
done
if [ -z "$puerto" ]; then
    cat "$trabajo/emulador.txt" >&2
    echo "el emulador no ha anunciado su puerto" >&2
    exit 1
fi

GEDANKO_GRABADOR= LD_LIBRARY_PATH="$dir/grabador" \
    timeout 60 xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    "$dir/bin/captura_conectada" "$puerto" 11 "$fichero" "$raiz/resources/perfiles/demo.emu"
echo "$fichero"
