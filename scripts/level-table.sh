#!/bin/sh
# Prints a Markdown table of the listed levels in the order of play: the idea, the solver's
# shortest answer against the level's own tape, the states it searched, and for levels with
# ghosts or larvae the fairness figures (plays won, the shortest life of a worm never steered).
# The idea is the level's line in data/levels/Ideas.txt ("STEM: idea"), else the first line of
# its help. A solver answer that CTest left beside the compiled level (NAME.solve.json) is
# reused while it is newer than the level.
# usage: sh scripts/level-table.sh [BUILD-DIR]
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
tool=$build/bin/krawlix-tool
src=data/levels
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The number after "NAME": in the JSON on stdin (the first one).
number() { grep -o "\"$1\":[0-9]*" | head -n 1 | cut -d: -f2; }

echo "| # | Level | Idea | Solver keys / tape keys | States searched | Fairness: won, shortest unsteered life |"
echo "|---|---|---|---|---|---|"
n=0
grep -v '^#' $src/Levels.lst | grep . | while IFS= read -r line; do
  stem=${line%% *}
  name=$stem
  case $line in *" = "*) name=${line#* = } ;; esac
  n=$((n + 1))
  level=$build/levels/$stem.kxlev
  idea=$(sed -n "s/^$stem: //p" $src/Ideas.txt 2>/dev/null | head -n 1)
  if [ -z "$idea" ]; then
    idea=$(grep '^description ' $src/$stem.txt | sed -n 2p | sed 's/^description //; s#/[A-Za-z0-9.\#]*/##g; s/  */ /g; s/ \([.,:;!?]\)/\1/g; s/ $//')
  fi
  idea=$(printf '%s' "$idea" | sed 's/|/\\|/g')
  tapeKeys=$(grep '^keys ' $src/$stem.tape | tr ',' '\n' | grep -c ':' || true)
  if "$tool" level info "$level" | grep -q 'seed: *does not matter'; then
    json=$build/levels/$stem.solve.json
    if [ ! -f "$json" ] || [ "$json" -ot "$level" ]; then
      json=$work/$stem.json
      "$tool" solve "$level" --max-seconds 600 --json > "$json" || true
    fi
    if grep -q '"result":"solved"' "$json"; then
      keys=$(number keyCount < "$json")
      solved="$keys / $tapeKeys ($((keys * 100 / tapeKeys)) %)"
    else
      solved="not solved / $tapeKeys"
    fi
    echo "| $n | $name | $idea | $solved | $(number states < "$json") | |"
  else
    "$tool" fairness "$level" --tape $src/$stem.tape --json > $work/fair.json
    won=$(number won < $work/fair.json)
    plays=$(number plays < $work/fair.json)
    life=$(grep -o '"survivedMs":[0-9]*' $work/fair.json | cut -d: -f2 | sort -n | head -n 1)
    life=$(awk -v ms="$life" 'BEGIN { printf "%.1f s", ms / 1000 }')
    # No worm died within the watch: it lives longer than the watch can say.
    grep -q '"outlived":false' $work/fair.json || life="> $life (all outlived the watch)"
    echo "| $n | $name | $idea | ghosts: $tapeKeys tape keys | | $won/$plays, $life |"
  fi
done
