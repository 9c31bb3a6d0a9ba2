#!/bin/sh
# Builds everything and starts the level editor; a level file given as argument opens in it.
# Level paths are taken from the folder the script was called in.
set -eu
here=$(pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/build.sh"
cd "$here"
exec "$root/build/bin/KrawlixEditor" "$@"
