#!/usr/bin/env bash
# Fails on any source file that clang-format would change and on any finding
# of the clang-tidy checks in .clang-tidy, over the whole tree. clang-tidy
# skips a unit whose last check in this build folder was clean and whose
# source, included headers, compile command and .clang-tidy are unchanged
# (scripts/revision-tidy.py); a fresh build folder checks every unit.
# Usage: scripts/estilo.sh [build-dir]   (a configured build; default build-test)
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$raiz/build-test}"
cd "$raiz"

echo "-- clang-format"
mapfile -t fuentes < <(find src tests bench tools firmware -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.ino' \) 2>/dev/null | sort)
clang-format --dry-run -Werror "${fuentes[@]}"

echo "-- clang-tidy (every compiled unit and the headers it includes)"
python3 "$raiz/scripts/revision-tidy.py" "$build" -j "$(nproc)"
echo "style: clean"
