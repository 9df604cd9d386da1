#!/usr/bin/env bash
# Soak run: the real main window against gedanko-emulador at 128 EmoStates per
# second for a long session (default 600 s). Every EmoState changes the
# command (clench 0.8 on even states, neutral on odd ones); the run checks
# that each EmoState gave its command byte, in order, and that the resident
# memory, sampled every 10 s, stays flat ("Visualizar Estados" is off, so the
# log holds only a handful of lines).
#
#   scripts/soak.sh [seconds] [build folder]
#
# Without a build folder it builds Release in build-soak first. Exit status 0
# when both checks pass. Set SOAK_LIMITE_KIB to change the allowed growth.
set -euo pipefail

SEGUNDOS=${1:-600}
RAIZ=$(cd "$(dirname "$0")/.." && pwd)
if [[ $# -ge 2 ]]; then
    # A folder built with the tests (e.g. build-test): the soak program is one.
    BUILD=$2
    cmake --build "$BUILD" --target gedanko-soak gedanko-emulador inpout32_grabador
else
    BUILD=$RAIZ/build-soak
    cmake -S "$RAIZ" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
    cmake --build "$BUILD" --target gedanko-soak -j2
fi
BIN=$BUILD/bin
LIMITE_KIB=${SOAK_LIMITE_KIB:-2048}
POR_VUELTA=16384 # EmoStates per lap of the scenario: 128 s at 128 per second

TMP=$(mktemp -d)
EMULADOR=""
limpiar() {
    if [[ -n $EMULADOR ]]; then
        kill "$EMULADOR" 2> /dev/null || true
        wait "$EMULADOR" 2> /dev/null || true
    fi
    rm -rf "$TMP"
}
trap limpiar EXIT

# The scenario: one lap of 128 s, the headset put on at its start.
awk -v n=$POR_VUELTA 'BEGIN {
    print "0 senal 2"; print "0 contactos 4"; print "0 bateria 5 5"; print "0 alta 0"
    for (k = 0; k < n; k++)
        printf "%.7f expresiva %s\n", k / 128, (k % 2 == 0) ? "apretar 0.8" : "neutral 0"
    printf "%d fin\n", n / 128
}' > "$TMP/soak.esc"

"$BIN/gedanko-emulador" --direccion 127.0.0.1 --puerto 0 --tasa 128 --bucle --escenario "$TMP/soak.esc" \
    < /dev/null 2> "$TMP/emulador.log" &
EMULADOR=$!
PUERTO=""
for _ in $(seq 100); do
    PUERTO=$(sed -n 's/.*escuchando en 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$TMP/emulador.log")
    [[ -n $PUERTO ]] && break
    sleep 0.1
done
if [[ -z $PUERTO ]]; then
    echo "soak: the emulator did not start" >&2
    cat "$TMP/emulador.log" >&2
    exit 1
fi

echo "soak: $SEGUNDOS s against gedanko-emulador on 127.0.0.1:$PUERTO at 128 EmoStates per second"
ESTADO_ORDEN=0
GEDANKO_GRABADOR=$TMP/grabacion.txt LD_LIBRARY_PATH=$BUILD/grabador QT_QPA_PLATFORM=offscreen \
    timeout $((SEGUNDOS + 120)) "$BIN/gedanko-soak" "$PUERTO" "$SEGUNDOS" $POR_VUELTA > "$TMP/soak.out" \
    || ESTADO_ORDEN=$?
grep -v '^rss ' "$TMP/soak.out" | sed 's/^/soak: /'

# Memory: growth from the first sample after the warm-up (60 s, or half the
# run when shorter) to the largest later one.
CALENTAMIENTO=$((SEGUNDOS / 2 < 60 ? SEGUNDOS / 2 : 60))
awk -v c=$CALENTAMIENTO -v limite=$LIMITE_KIB '
    $1 == "rss" { serie = serie " " $3; if ($2 >= c) { if (base == "") base = $3; if ($3 > max) max = $3 } }
    END {
        print "soak: VmRSS KiB every 10 s:" serie
        if (base == "") { print "soak: no memory samples after the warm-up"; exit 1 }
        printf "soak: memory growth after %d s: %d KiB (limit %d KiB)\n", c, max - base, limite
        exit (max - base > limite) ? 1 : 0
    }' "$TMP/soak.out" || { echo "soak: FAILED (memory)"; exit 1; }

if [[ $ESTADO_ORDEN -ne 0 ]]; then
    echo "soak: FAILED (commands; exit status $ESTADO_ORDEN)"
    exit 1
fi
echo "soak: PASSED"
