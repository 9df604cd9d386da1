#!/usr/bin/env bash
# Renders the main window as it opens into docs/ventana.png under a virtual
# X server, so that it works on any machine (the picture is taken with the
# window's own grab, not a screen grabber). The picture of a real connected
# run comes from scripts/captura-conectada.sh.
# The picture tools are built with the tests.
# Usage: scripts/captura.sh [build-dir]   (default: build-test)
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$raiz/build-test}"
cmake -S "$raiz" -B "$dir" -G Ninja -DGEDANKO_TESTS=ON > /dev/null
cmake --build "$dir" --target captura_ventana
mkdir -p "$raiz/docs"
fichero="$raiz/docs/ventana.png"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$dir/bin/captura_ventana" "$fichero"
echo "$fichero"
