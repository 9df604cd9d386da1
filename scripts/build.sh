#!/usr/bin/env bash
# Configures and builds into the given folder; extra arguments go to CMake.
# Compiles through ccache when it is installed, with the repository as its
# base folder.
# Usage: scripts/build.sh <build-dir> [cmake options...]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
cache=()
if command -v ccache > /dev/null; then
    export CCACHE_BASEDIR="$raiz"
    # Lets ccache keep the test units, which read a precompiled header; no
    # unit of ours uses __DATE__ or __TIME__.
    export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros}"
    cache=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$raiz" -B "$dir" -G Ninja "${cache[@]}" "$@" > /dev/null
cmake --build "$dir" -j"$(nproc)"
