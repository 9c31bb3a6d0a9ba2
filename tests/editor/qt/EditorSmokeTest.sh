#!/bin/sh
# Starts the real KrawlixEditor under Xvfb with a level and grabs a picture of its window.
#   EditorSmokeTest.sh EDITOR SCREEN_GRAB LEVEL OUT.png [WIDTHxHEIGHT]
set -eu
editor=$1 grab=$2 level=$3 out=$4 size=${5:-1000x700}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
xvfb-run -a -s "-screen 0 ${size}x24 -br" sh -c '
  "$1" "$2" &
  editor=$!
  status=0
  "$3" "$4" || status=$?
  kill "$editor" 2>/dev/null || true
  wait "$editor" 2>/dev/null || true
  exit "$status"
' sh "$editor" "$level" "$grab" "$out"
