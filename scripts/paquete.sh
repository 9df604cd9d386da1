#!/usr/bin/env bash
# Builds Gedanko (Release, without tests and bench, in build-paquete) and
# makes its Debian package there with CPack; prints the package's path.
# Install it with: sudo apt install ./build-paquete/gedanko_*.deb
# Usage: scripts/paquete.sh
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
dir="$raiz/build-paquete"
"$raiz/scripts/install-deps.sh"
"$raiz/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Release -DGEDANKO_TESTS=OFF -DGEDANKO_BENCH=OFF
command -v dpkg-shlibdeps > /dev/null || {
    echo "Falta dpkg-shlibdeps: ejecute scripts/install-deps.sh --pruebas" >&2
    exit 1
}
(cd "$dir" && cpack -G DEB > /dev/null)
ls "$dir"/gedanko_*.deb
