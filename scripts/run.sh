#!/usr/bin/env bash
# Installs what is missing, builds and starts Gedanko.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
"$raiz/scripts/install-deps.sh"
"$raiz/scripts/build.sh" "$raiz/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGEDANKO_TESTS=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. To run Gedanko without one, start it under Xvfb:"
    echo "    xvfb-run -s '-screen 0 1024x768x24' $raiz/build/bin/gedanko"
    exit 1
fi
exec "$raiz/build/bin/gedanko"
