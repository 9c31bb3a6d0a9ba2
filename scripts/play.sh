#!/bin/sh
# Builds everything and starts the game. Until the game program exists this starts
# krawlix-tool, the command-line companion, and shows its commands.
set -eu
cd "$(dirname "$0")/.."
sh scripts/build.sh
if [ -x build/bin/Krawlix ]; then
  exec build/bin/Krawlix "$@"
fi
exec build/bin/krawlix-tool --help
