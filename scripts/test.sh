#!/usr/bin/env bash
# Installs what is missing, builds and runs every test twice: a normal build,
# then one under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
"$raiz/scripts/install-deps.sh" --pruebas

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$raiz/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "== Normal build"
# Line tables (-g1) are enough for a failing test's backtrace, and full debug
# information would cost a fifth of this build's compile time.
"$raiz/scripts/build.sh" "$raiz/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGEDANKO_WERROR=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
ctest --test-dir "$raiz/build-test" --output-on-failure -j"$(nproc)"

echo "== Style: clang-format and clang-tidy"
"$raiz/scripts/estilo.sh" "$raiz/build-test"

echo "== Sanitized build (ASan + UBSan)"
# Line tables here too: the sanitizers' reports name file and line with them.
"$raiz/scripts/build.sh" "$raiz/build-san" -DCMAKE_BUILD_TYPE=Debug -DGEDANKO_SANITIZE=ON -DGEDANKO_BENCH=OFF \
    -DGEDANKO_WERROR=ON -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_C_FLAGS_DEBUG="-g1"
ctest --test-dir "$raiz/build-san" --output-on-failure -j"$(nproc)"
