#!/usr/bin/env bash
# Installs what is missing, builds and starts Gedanko.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
"$raiz/scripts/install-deps.sh"
"$raiz/scripts/build.sh" "$raiz/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGEDANKO_TESTS=OFF -DGEDANKO_BENCH=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No se ha encontrado ninguna pantalla. Para ejecutar Gedanko sin ella, use Xvfb:"
    echo "    xvfb-run -a -s '-screen 0 1024x768x24' $raiz/build/bin/gedanko"
    exit 1
fi
exec "$raiz/build/bin/gedanko"
