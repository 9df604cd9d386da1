#!/usr/bin/env bash
# Installs the Debian 12 packages that are not installed yet: those that
# building and running the program need, and with --pruebas also those of the
# tests, the style check, fuzzing, the firmware's build and the package.
# Uses sudo when not run as root.
# Usage: scripts/install-deps.sh [--pruebas]
set -euo pipefail

# Building and running.
PAQUETES=(
    cmake ninja-build g++ pkg-config ccache  # build; ccache keeps rebuilds short
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev   # Qt 6 Widgets, Svg, moc/uic/rcc
    libqt6svg6                               # SVG artwork at run time
    qt6-serialport-dev libqt6serialport6     # command frames to a board over USB serial
    qt6-translations-l10n                    # Qt's own dialog and button texts in Spanish
    fonts-wine fonts-liberation2             # Tahoma-compatible and Courier New metrics
    liblo-dev liblo-tools                    # the emulator's OSC input; oscsend to try it by hand
)
# Testing and developing.
PRUEBAS=(
    git python3                              # the repository; the style check's cache of clean results
    libgtest-dev libgmock-dev                # GoogleTest and GoogleMock
    xvfb xauth                               # windows without a display (screen tests, screenshots, demos)
    openbox xdotool                          # window-manager tests: minimise, desktops, a real pointer
    clang libclang-rt-14-dev                 # libFuzzer targets
    clang-format clang-tidy                  # the style check of the test command
    gcc-avr avr-libc arduino-core-avr        # the receiver's sketch is built for an Arduino Uno in the tests
    simavr libsimavr-dev libelf-dev          # and its Uno build runs in the AVR simulator in the tests
    dpkg-dev                                 # the Debian package (cpack) and its test
)

case "${1:-}" in
    "") ;;
    --pruebas) PAQUETES+=("${PRUEBAS[@]}") ;;
    *) echo "Uso: $0 [--pruebas]" >&2; exit 2 ;;
esac

faltan=()
for p in "${PAQUETES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
[ ${#faltan[@]} -eq 0 ] && exit 0

echo "Instalando: ${faltan[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${faltan[@]}"
