#!/bin/sh
# Builds everything and starts the level editor; a level file given as argument opens in it.
set -eu
cd "$(dirname "$0")/.."
sh scripts/build.sh
exec build/bin/KrawlixEditor "$@"
