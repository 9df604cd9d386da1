#!/usr/bin/env bash
# Configures and builds into the given folder; extra arguments go to CMake.
# Usage: scripts/build.sh <build-dir> [cmake options...]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
cmake -S "$raiz" -B "$dir" -G Ninja "$@" > /dev/null
cmake --build "$dir" -j"$(nproc)"
