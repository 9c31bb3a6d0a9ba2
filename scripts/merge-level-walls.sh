#!/bin/sh
# Merges the walls of level sources into bars, as the editor's "Lego-Blöcke zusammenfassen" does
# on both layers, and writes each source back (its leading comment kept; the map then names the
# wall pieces in legend lines).
# usage: scripts/merge-level-walls.sh BUILD-DIR SOURCE.txt...
set -e
tool=$1/bin/krawlix-tool
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for source in "$@"; do
  "$tool" level compile "$source" "$work/level.kxlev"
  "$tool" edit-shot "$work/level.kxlev" --events cmd:merge,cmd:layer,cmd:merge \
    --save "$work/merged.kxlev" > /dev/null
  "$tool" level decompile "$work/merged.kxlev" "$work/merged.txt"
  sed -n '/^#/!q;p' "$source" > "$work/new.txt"
  cat "$work/merged.txt" >> "$work/new.txt"
  mv "$work/new.txt" "$source"
done
