#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/fuzz_*.cpp) with clang in build-fuzz
# and runs each for the given number of seconds (default 600) on its seed
# corpus tests/fuzz/corpus/<name>. New inputs go to build-fuzz/corpus/<name>;
# crashing inputs to build-fuzz/hallazgos/. Exits non-zero if any target failed.
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
segundos="${1:-600}"
dir="$raiz/build-fuzz"

if ! command -v clang++ > /dev/null; then
    echo "fuzz.sh: clang++ is needed" >&2
    exit 2
fi

objetivos=()
for fuente in "$raiz"/tests/fuzz/fuzz_*.cpp; do
    [ -e "$fuente" ] && objetivos+=("$(basename "$fuente" .cpp)")
done
if [ ${#objetivos[@]} -eq 0 ]; then
    echo "fuzz.sh: no fuzz targets in tests/fuzz" >&2
    exit 2
fi

CC=clang CXX=clang++ cmake -S "$raiz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DGEDANKO_FUZZ=ON -DGEDANKO_SANITIZE=ON -DGEDANKO_BENCH=OFF > /dev/null
cmake --build "$dir" --target "${objetivos[@]}" -j"$(nproc)"

mkdir -p "$dir/hallazgos"
fallos=0
for objetivo in "${objetivos[@]}"; do
    nombre="${objetivo#fuzz_}"
    semillas="$raiz/tests/fuzz/corpus/$nombre"
    trabajo="$dir/corpus/$nombre"
    mkdir -p "$semillas" "$trabajo"
    echo "== $objetivo, ${segundos} s"
    if ! "$dir/bin/$objetivo" -max_total_time="$segundos" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/hallazgos/$objetivo-" "$trabajo" "$semillas"; then
        echo "fuzz.sh: $objetivo failed; see $dir/hallazgos" >&2
        fallos=1
    fi
done
exit $fallos
