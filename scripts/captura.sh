#!/usr/bin/env bash
# Renders the main window as it opens into docs/ventana.png, and as during a
# run with sample values into docs/ventana-conectada.png, under a virtual
# X server so that it works on any machine (the picture is taken with the
# window's own grab, not a screen grabber).
# Usage: scripts/captura.sh [build-dir]   (default: build)
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$raiz/build}"
cmake -S "$raiz" -B "$dir" -G Ninja > /dev/null
cmake --build "$dir" --target captura_ventana
mkdir -p "$raiz/docs"
for modo in "" --conectado; do
    fichero="$raiz/docs/ventana${modo:+-conectada}.png"
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
        "$dir/bin/captura_ventana" $modo "$fichero"
    echo "$fichero"
done
