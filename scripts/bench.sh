#!/bin/sh
# Builds and runs every benchmark (optimised build in build-bench/), then sets the drawing
# ones beside a memcpy of the 650 x 650 frame measured in the same program, with their goals.
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for b in build-bench/benchmarks/*; do
  if [ -f "$b" ] && [ -x "$b" ]; then
    # JSON, not CSV: the CSV writer aborts when one benchmark of a program has a counter that
    # another lacks.
    "$b" --benchmark_out="$out/$(basename "$b").json" --benchmark_out_format=json "$@"
  fi
done
# CPU time of one benchmark in microseconds, from its program's report; empty when it did not
# run.
cpu() { # program benchmark
  [ -f "$out/$1.json" ] || return 0
  awk -v want="$2" '
    function value(line) { sub(/^[^:]*: *"?/, "", line); sub(/"?,?[ \t\r]*$/, "", line); return line }
    /"name":/ { name = value($0) }
    /"cpu_time":/ { time = value($0) }
    /"time_unit":/ && name == want {
      unit = value($0)
      scale = unit == "ns" ? 0.001 : unit == "ms" ? 1000 : unit == "s" ? 1000000 : 1
      printf "%.6f\n", time * scale
      exit
    }' "$out/$1.json"
}
beside() { # what program benchmark memcpy-benchmark goal
  t=$(cpu "$2" "$3")
  m=$(cpu "$2" "$4")
  [ -n "$t" ] && [ -n "$m" ] || return 0
  awk -v w="$1" -v t="$t" -v m="$m" -v g="$5" 'BEGIN {
    r = t / m
    printf "%-40s %7.1f us = %5.2f x the memcpy of %.1f us", w, t, r, m
    if (g != "") printf " (goal at most %s x: %s)", g, (r <= g ? "met" : "NOT met")
    printf "\n"
  }'
}
echo
echo "Beside a memcpy of the frame (CPU time; noisy on a shared machine, run again to compare):"
beside "DrawCells, a full 650 x 650 view" BenchGraphics BM_DrawCells/21 BM_MemcpyFullSurface 4
beside "Paint: corn, corn counter and menu" BenchShell BM_PaintLevelWithCornInView BM_MemcpyFrame 5
beside "Paint: the level with the help panel" BenchShell BM_PaintLevelWithControlsHelp BM_MemcpyFrame 5
beside "Paint: the level with the main menu" BenchShell BM_PaintLevelWithMainMenu BM_MemcpyFrame 5
beside "Paint: the title screen" BenchShell BM_PaintTitleScreen/0 BM_MemcpyFrame 5
beside "Paint: the title screen, caches evicted" BenchShell BM_PaintTitleScreen/1 BM_MemcpyFrame ""
beside "Paint: the title screen, what changed" BenchShell BM_PaintTitleScreenChanges BM_MemcpyFrame ""
beside "Upload: the frame into the texture" BenchUpload BM_UploadFrame BM_MemcpyFrame ""
