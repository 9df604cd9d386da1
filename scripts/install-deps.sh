#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the program and the tests
# need and that are not installed yet. Uses sudo when not run as root.
set -euo pipefail

PAQUETES=(
    cmake ninja-build g++ pkg-config git    # build
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev   # Qt 6 Widgets, Svg, moc/uic/rcc
    libqt6svg6                               # SVG artwork at run time
    qt6-serialport-dev libqt6serialport6     # command frames to a board over USB serial
    qt6-translations-l10n                    # Qt's own dialog and button texts in Spanish
    libgtest-dev libgmock-dev                # GoogleTest and GoogleMock
    fonts-wine fonts-liberation2             # Tahoma-compatible and Courier New metrics
    xvfb xauth                               # windows without a display (screenshots, demos)
    openbox xdotool                          # window-manager tests: minimise, desktops, a real pointer
    clang libclang-rt-14-dev                 # libFuzzer targets
    clang-format clang-tidy                  # the style check of the test command
    liblo-dev liblo-tools                    # the emulator's OSC input; oscsend to try it by hand
    gcc-avr avr-libc arduino-core-avr        # the receiver's sketch is built for an Arduino Uno in the tests
    simavr libsimavr-dev libelf-dev          # and its Uno build runs in the AVR simulator in the tests
)

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
