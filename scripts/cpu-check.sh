#!/bin/sh
# What the game costs a player's machine: Krawlix on its title screen in a virtual X server
# for 10 s, then beside it the bare present-probe presenting as many 650 x 650 frames a
# second with the same renderer. Prints both CPU figures (whole processes, all threads) and
# their ratio.
#   sh scripts/cpu-check.sh              builds build-bench/ (Release) and measures it
#   KX_BIN_DIR=DIR sh scripts/cpu-check.sh   measures the programs in DIR instead
# KX_SECONDS changes the 10 s.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "${KX_CPU_CHECK_INSIDE:-}" != 1 ]; then
  if [ -z "${KX_BIN_DIR:-}" ]; then
    sh scripts/deps.sh
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-bench --target Krawlix present-probe archive >/dev/null
    KX_BIN_DIR=$root/build-bench/bin
  fi
  export KX_BIN_DIR
  for tool in xvfb-run Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || {
      echo "cpu-check: $tool is missing (sh scripts/deps.sh installs it)" >&2
      exit 1
    }
  done
  KX_CPU_CHECK_INSIDE=1 exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh "$0"
fi

seconds=${KX_SECONDS:-10}
bin=$KX_BIN_DIR
scratch=$(mktemp -d)
game_pid=""
trap '[ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" SDL_AUDIODRIVER=dummy
hz=$(getconf CLK_TCK)

# utime + stime of a process in clock ticks.
cpu_ticks() {
  awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"
}
# Ticks over the measured seconds, once the process's window shows.
measure() { # pid name
  timeout 20 xdotool search --sync --onlyvisible --pid "$1" --name "$2" >/dev/null || {
    echo "cpu-check: no window of $2 appeared" >&2
    return 1
  }
  sleep 0.5
  a=$(cpu_ticks "$1")
  sleep "$seconds"
  b=$(cpu_ticks "$1")
  echo $((b - a))
}
stat_value() { # file key
  sed -n "s/^$2=//p" "$1"
}

uptime | sed 's/^.*load/load/'
KRAWLIX_STATS="$scratch/game.txt" "$bin/Krawlix" &
game_pid=$!
game=$(measure "$game_pid" '^Krawlix')
kill -TERM "$game_pid"
wait "$game_pid" || true
game_pid=""
presents=$(stat_value "$scratch/game.txt" presents)
[ -n "$presents" ] || presents=$(stat_value "$scratch/game.txt" repaints)
loop=$(stat_value "$scratch/game.txt" loop_seconds)
renderer=$(stat_value "$scratch/game.txt" renderer)
steps=$(stat_value "$scratch/game.txt" steps)
# Without the loop's time (older builds) its steps tell it: one every 10 ms.
rate=$(awk -v p="$presents" -v s="${loop:-0}" -v n="$steps" \
  'BEGIN { if (s <= 0) s = n / 100; printf "%.0f", (s > 0 ? p / s : 0) }')
refresh=$(stat_value "$scratch/game.txt" refresh_hz)
echo "game: $game of $((hz * seconds)) CPU ticks in ${seconds} s ($(awk -v t="$game" -v h="$hz" -v s="$seconds" 'BEGIN { printf "%.1f", 100 * t / h / s }') % of a core)"
echo "game: $steps steps, $presents presents in ${loop:-?} s ($rate a second, display ${refresh:-?} Hz), $(stat_value "$scratch/game.txt" repaints) repaints, $(stat_value "$scratch/game.txt" skipped_repaints) skipped, renderer ${renderer:-?}"
echo "game: first picture $(awk -v s="$(stat_value "$scratch/game.txt" first_picture_seconds)" 'BEGIN { printf "%.1f", s * 1000 }') ms after the start"

if [ ! -x "$bin/present-probe" ]; then
  echo "probe: $bin/present-probe is missing; no ratio"
  exit 0
fi
"$bin/present-probe" --rate "$rate" --seconds $((seconds + 5)) ${renderer:+--renderer "$renderer"} &
probe_pid=$!
probe=$(measure "$probe_pid" '^present-probe')
kill -TERM "$probe_pid" 2>/dev/null || true
wait "$probe_pid" || true
echo "probe: $probe of $((hz * seconds)) CPU ticks in ${seconds} s at $rate presents a second"
awk -v g="$game" -v p="$probe" 'BEGIN { if (p > 0) printf "ratio game / probe: %.2f (goal at most 1.1)\n", g / p; else print "ratio: probe used no CPU" }'
