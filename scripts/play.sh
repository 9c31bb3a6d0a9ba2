#!/bin/sh
# Builds everything and starts the game with the given arguments, for example
#   sh scripts/play.sh /level:"my level.kxlev"
# Level paths are taken from the folder the script was called in.
set -eu
here=$(pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/build.sh"
cd "$here"
exec "$root/build/bin/Krawlix" "$@"
