#!/usr/bin/env bash
# Installs what building and running need, builds and starts Gedanko.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No se ha encontrado ninguna pantalla. Para ejecutar Gedanko sin ella, use Xvfb:"
    echo "    scripts/install-deps.sh --pruebas    # o: sudo apt-get install xvfb xauth"
    echo "    xvfb-run -a -s '-screen 0 1024x768x24' scripts/run.sh"
    exit 1
fi
"$raiz/scripts/install-deps.sh"
"$raiz/scripts/build.sh" "$raiz/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGEDANKO_TESTS=OFF -DGEDANKO_BENCH=OFF
exec "$raiz/build/bin/gedanko"
