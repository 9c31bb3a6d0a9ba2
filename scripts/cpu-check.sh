#!/bin/sh
# What the game costs a player's machine: Krawlix on its title screen in a virtual X server
# for 10 s, then beside it the bare present-probe presenting as many 650 x 650 frames a
# second with the same renderer, and the probe once more waking 100 times a second, as a
# game that woke for every 10 ms step would (the game runs the steps that show nothing late,
# together, and wakes about once a picture). Three rounds, in turn, since a shared machine's
# figures wander; prints each CPU figure (all threads, from the scheduler's nanoseconds), the
# ratios and the medians.
#   sh scripts/cpu-check.sh              builds build-bench/ (Release) and measures it
#   KX_BIN_DIR=DIR sh scripts/cpu-check.sh   measures the programs in DIR instead
# KX_SECONDS changes the 10 s, KX_ROUNDS the three rounds.
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
rounds=${KX_ROUNDS:-3}
bin=$KX_BIN_DIR
scratch=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/config"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" SDL_AUDIODRIVER=dummy
hz=$(getconf CLK_TCK)

# CPU time of a process in microseconds: the run times of its threads, else its clock ticks.
cpu_us() {
  if [ -r "/proc/$1/schedstat" ]; then
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s / 1000 }'
  else
    awk -v hz="$hz" '{ sub(/^.*\) /, ""); printf "%.0f", ($12 + $13) * 1000000 / hz }' "/proc/$1/stat"
  fi
}
# Milliseconds of CPU over the measured seconds, once the process's window shows.
measure() { # pid name
  timeout 20 xdotool search --sync --onlyvisible --pid "$1" --name "$2" >/dev/null || {
    echo "cpu-check: no window of $2 appeared" >&2
    return 1
  }
  sleep 0.5
  a=$(cpu_us "$1")
  sleep "$seconds"
  b=$(cpu_us "$1")
  awk -v a="$a" -v b="$b" 'BEGIN { printf "%.1f", (b - a) / 1000 }'
}
stat_value() { # file key
  sed -n "s/^$2=//p" "$1"
}
# The probe at the game's rate, optionally with its own wakes; prints its milliseconds.
probe() { # rate renderer wakes
  "$bin/present-probe" --rate "$1" --seconds $((seconds + 5)) ${2:+--renderer "$2"} \
    --wakes "$3" >/dev/null &
  pid=$!
  ms=$(measure "$pid" '^present-probe')
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" || true
  pid=""
  echo "$ms"
}
median() { # numbers
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio() { # a b
  awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'
}

echo "cpu-check: $rounds rounds of ${seconds} s on the title screen, $(uptime | sed 's/^.*load/load/')"
have_probe=1
[ -x "$bin/present-probe" ] || {
  have_probe=0
  echo "probe: $bin/present-probe is missing; no ratio"
}
games="" probes="" wakers=""
round=1
while [ "$round" -le "$rounds" ]; do
  rm -rf "${scratch:?}/home" "${scratch:?}/config" "${scratch:?}/game.txt"
  mkdir -p "$scratch/home" "$scratch/config"
  KRAWLIX_STATS="$scratch/game.txt" "$bin/Krawlix" &
  pid=$!
  game=$(measure "$pid" '^Krawlix')
  kill -TERM "$pid"
  wait "$pid" || true
  pid=""
  presents=$(stat_value "$scratch/game.txt" presents)
  loop=$(stat_value "$scratch/game.txt" loop_seconds)
  renderer=$(stat_value "$scratch/game.txt" renderer)
  rate=$(awk -v p="$presents" -v s="${loop:-0}" 'BEGIN { printf "%.1f", (s > 0 ? p / s : 0) }')
  echo "round $round game:  $game ms of CPU in ${seconds} s ($(awk -v t="$game" -v s="$seconds" 'BEGIN { printf "%.2f", t / s / 10 }') % of a core);" \
    "$(stat_value "$scratch/game.txt" steps) steps in $(stat_value "$scratch/game.txt" sleeps) wakes, $presents presents ($rate a second, display $(stat_value "$scratch/game.txt" refresh_hz) Hz)," \
    "$(stat_value "$scratch/game.txt" skipped_repaints) repaints skipped, renderer $renderer," \
    "first picture $(awk -v s="$(stat_value "$scratch/game.txt" first_picture_seconds)" 'BEGIN { printf "%.1f", s * 1000 }') ms after the start"
  games="$games $game"
  if [ "$have_probe" = 1 ]; then
    bare=$(probe "$rate" "$renderer" 0)
    waker=$(probe "$rate" "$renderer" 100)
    echo "round $round probe: $bare ms at $rate presents a second (game / probe $(ratio "$game" "$bare"));" \
      "with 100 wakes a second $waker ms (game / that $(ratio "$game" "$waker"))"
    probes="$probes $bare"
    wakers="$wakers $waker"
  fi
  round=$((round + 1))
done
# shellcheck disable=SC2086
mg=$(median $games)
echo "median game: $mg ms"
if [ "$have_probe" = 1 ]; then
  # shellcheck disable=SC2086
  mp=$(median $probes)
  # shellcheck disable=SC2086
  mw=$(median $wakers)
  echo "median probe: $mp ms; ratio game / probe: $(ratio "$mg" "$mp") (goal at most 1.1)"
  echo "median probe with 100 wakes a second: $mw ms; ratio game / that: $(ratio "$mg" "$mw")"
fi
echo "load at the end: $(uptime | sed 's/^.*load average: //')"
