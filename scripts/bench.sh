#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-banco) and runs them; writes the
# table with the machine's description to build-banco/rendimiento.md, or with
# --publicar to the tracked docs/rendimiento.md. Other arguments go to
# gedanko-banco (--repeticiones N, --segundos S, --inundacion S, --reposo S,
# --lineas N). Exits non-zero when a run failed or a target was missed. Other
# work on the machine skews the figures: the load is recorded before and
# after the run.
# Usage: scripts/bench.sh [--publicar] [gedanko-banco options...]
set -euo pipefail
raiz="$(cd "$(dirname "$0")/.." && pwd)"
build="$raiz/build-banco"
salida="$build/rendimiento.md"
if [ "${1:-}" = "--publicar" ]; then
    salida="$raiz/docs/rendimiento.md"
    shift
fi

cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGEDANKO_TESTS=OFF -DGEDANKO_BENCH=ON >/dev/null
cmake --build "$build" --target gedanko-banco gedanko -j"${JOBS:-2}"

plataformas="offscreen platform"
if [ -n "${DISPLAY:-}" ]; then
    plataformas="offscreen platform and the X server $DISPLAY"
fi

cpu="$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
nucleos="$(nproc)"
memoria="$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
sistema="$(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)"
qt="$(qtpaths6 --qt-version 2>/dev/null || echo 6)"
carga_antes="$(cut -d' ' -f1-3 /proc/loadavg)"
inicio="$(date -u '+%Y-%m-%d %H:%M UTC')"
segundos_inicio=$SECONDS

estado=0
tabla="$("$build/banco/gedanko-banco" "$@")" || estado=$?
carga_despues="$(cut -d' ' -f1-3 /proc/loadavg)"
duracion="$(( (SECONDS - segundos_inicio + 30) / 60 )) min"

cat >"$salida" <<FIN
# Performance

Measured by \`scripts/bench.sh\` (the bench program \`gedanko-banco\`, Release
build) on $inicio.

- Machine: $cpu, $nucleos cores, $memoria of memory
- System: $sistema, Qt $qt, $plataformas
- Load average (1, 5, 15 min): $carga_antes before, $carga_despues after
- Duration of the run: $duracion

$tabla

## What is measured

Each figure is measured in a fresh process and repeated; the table gives the
median over the runs and the smallest and largest run.

- **The window** is the real main window on Qt's offscreen platform, driven
  through its own actions: headset mode, "EmoComposer", port output on and,
  for the latency runs, "Visualizar Estados" on. "Conectar" runs the control
  loop until a timer presses "Desconectar".
- **The engine** is a scripted stand-in exporting the engine's C API
  (\`bench/MotorGuion.cpp\`): it connects at once, announces one user, and then
  makes EmoStates available at 32 per second (latency), at every poll
  (throughput) or never (idle). Every EmoState passes the loop's gates (good
  signal, every contact at 4, still gyro). They come in runs that alternate
  between a clench, at a power that moves with every EmoState as a
  headset's does, and neutral; every byte can be checked against its
  EmoState. Runs of one (the latency and throughput runs) change the command
  byte with every EmoState. Each EmoState is stamped (steady clock) when it becomes
  available: its scheduled time at a set rate, the poll at a flood. Like our
  engine it offers the wake-up descriptor (a timer set for the next
  EmoState's moment), so the loop sleeps between EmoStates; one row hides
  it (\`GUION_SIN_DESCRIPTOR=1\`) to show a loop that polls every
  millisecond.
- **The port** is a stand-in \`libinpout32.so\` (\`bench/PuertoSellado.cpp\`)
  that stamps every \`Out32\` into a preallocated array. Latency runs from an
  EmoState's availability to the \`Out32\` of its byte.
- **The bare loop** is the same poll, gates, drive decision and \`Out32\`
  without the window, so that the window's share shows as a ratio.
- **Processor while streaming** is the process's user and system time
  (\`getrusage\`) over a 32-a-second run with the full window and state
  lines on, the command held for 16 EmoStates (half a second, a brisk
  driver's pace), against the **reference loop**: the bare loop that waits
  1 ms per pass as a polling program does, over the same script. A row
  with the command changing at every EmoState shows the worst case; both offscreen and, when the bench
  runs under an X server (\`xvfb-run -a -s '-screen 0 1024x768x24' scripts/bench.sh\`), on X, where
  the throughput is measured too.
- **Over TCP** (\`gedanko-banco-tcp\`) the real window runs over the real
  engine (\`libedk.so\`) in "EmoComposer" mode, fed over loopback TCP by a
  thread that speaks the emulator's protocol with the emulator's own line
  formatting, 2,000 EmoStates at 32 a second in one run; latency runs from
  just before each line's \`send()\` to the \`Out32\` of its byte, and the
  processor figure is the window's thread alone.
- **Frame destinations** time 2,000 commands per link from the decision
  (\`TActuador::Mover\`, forward on and off in turn) to the output change
  that \`gedanko-receptor\` prints, both on the monotonic clock, over a
  pseudo-terminal (\`serie:\`) and UDP loopback (\`udp:\`). A real board's
  serial line adds 0.26 ms per frame at 115200 baud.
- **Idle processor** is the process's user and system time (\`getrusage\`)
  over a connected run whose engine sends nothing, divided by its length
  (connecting and disconnecting included).
- **Start-up** launches the unmodified program \`build-banco/bin/gedanko\` with
  a probe preloaded (\`bench/SondaPintado.cpp\`, through \`LD_PRELOAD\`) that
  watches the application's events: the time runs from just before the
  process is spawned to the end of the first paint of its window, which the
  probe reports with the peak resident memory before ending the process.
- **The log** receives one hour of state lines at 32 per second (115,200
  lines, the program's own state-line text) through the window's
  \`Registrar\`; the peak resident memory (VmHWM) is read afterwards, and the
  cost of single appends is timed around line 100 and line 100,000 (median
  of the 51 appends centred on each).
- **The log flood** pours 1,000,000 lines straight into the log pane and
  reads the peak resident memory at 100,000 lines and at the end: the log
  keeps only its newest lines in memory and the rest in a temporary file,
  so the growth between the two stays flat.

Figures taken while other programs keep the processors busy are noisy: the
loop shares the processors with them, and Qt's raster engine hands large
fills to its own worker threads.
FIN
if [ -f "$raiz/bench/analisis.md" ]; then
    { echo; cat "$raiz/bench/analisis.md"; } >>"$salida"
fi
echo "Wrote $salida ($duracion)"
exit "$estado"
