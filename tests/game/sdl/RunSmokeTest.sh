#!/bin/sh
# Runs the desktop smoke test in a virtual X server. Exits 77 (CTest: skipped) with the reason
# where no X server can be started here.
set -u
program=$1
for tool in xvfb-run Xvfb xauth xwd xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is missing, so no virtual X server can run the game (sh scripts/deps.sh installs it)"
    exit 77
  fi
done
# -noreset: the server would otherwise reset when its last client (a game that ended) leaves,
# and a game started in that moment finds no display.
server_args="-screen 0 1280x1024x24 -nolisten tcp -noreset"
if ! xvfb-run -a -s "$server_args" true >/dev/null 2>&1; then
  echo "SKIPPED: xvfb-run could not start an X server here"
  exit 77
fi
# No sound card is needed: the game runs silently without one.
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export SDL_AUDIODRIVER
exec xvfb-run -a -s "$server_args" "$program"
