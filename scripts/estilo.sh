#!/usr/bin/env bash
# Fails on any source file that clang-format would change and on any finding
# of the clang-tidy checks in .clang-tidy, over the whole tree.
# Usage: scripts/estilo.sh [build-dir]   (a configured build; default build-test)
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$raiz/build-test}"
cd "$raiz"

echo "-- clang-format"
mapfile -t fuentes < <(find src tests bench tools firmware -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.ino' \) 2>/dev/null | sort)
clang-format --dry-run -Werror "${fuentes[@]}"

echo "-- clang-tidy (${#fuentes[@]} files in the tree; every compiled unit and the headers it includes)"
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json: build first" >&2; exit 1; }
salida="$(mktemp)"
trap 'rm -f "$salida"' EXIT
if ! run-clang-tidy -p "$build" -j "$(nproc)" -quiet "^$raiz/(src|tests|bench|tools|firmware)/" > "$salida" 2>&1 \
    || grep -qE '(warning|error): ' "$salida"; then
    grep -E '(warning|error): ' -A3 "$salida" | sed 's/\x1b\[[0-9;]*m//g' >&2 || tail -40 "$salida" >&2
    echo "clang-tidy found the faults above" >&2
    exit 1
fi
echo "style: clean"
