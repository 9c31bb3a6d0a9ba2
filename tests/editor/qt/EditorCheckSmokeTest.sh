#!/bin/sh
# The real KrawlixEditor under Xvfb: F7 opens the check list and the solver runs to its answer,
# Strg+Umschalt+S shows Qt's file dialog in German; a picture of each.
#   EditorCheckSmokeTest.sh EDITOR SCREEN_GRAB LEVEL CHECK.png DIALOG.png
set -eu
editor=$1 grab=$2 level=$3 check=$4 dialog=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" HOME="$work"
export QT_LOGGING_RULES="krawlix.check.info=true;krawlix.translation.info=true;qt.qpa.*=false"
xvfb-run -a -s "-screen 0 1100x760x24 -br" sh -c '
  editor=$1 grab=$2 level=$3 check=$4 dialog=$5 log=$6
  "$editor" "$level" 2>"$log" &
  pid=$!
  status=0
  run() {
    window=$(xdotool search --sync --onlyvisible --name "KrawlixEditor" | head -n 1)
    xdotool windowfocus --sync "$window"
    grep -q "Qt-Texte aus .*qtbase_de" "$log" || { echo "no German Qt translation" >&2; return 1; }
    xdotool key F7
    tries=0
    until grep -q "Hinweise; \(Lösbar mit\|Nicht lösbar\)" "$log"; do
      tries=$((tries + 1))
      [ "$tries" -lt 600 ] || { echo "the solver gave no answer" >&2; return 1; }
      sleep 0.1
    done
    grep "Hinweise;" "$log"
    "$grab" "$check" 200 5
    xdotool key ctrl+shift+s
    xdotool search --sync --onlyvisible --name "^Speichern unter$" >/dev/null
    sleep 1
    "$grab" "$dialog" 200 5
  }
  run || status=$?
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ "$status" = 0 ] || cat "$log" >&2
  exit "$status"
' sh "$editor" "$grab" "$level" "$check" "$dialog" "$work/editor.log"
