#!/bin/sh
# The start scripts, called from another folder, hand the programs paths relative to that
# folder: the real scripts run in a copy of the tree whose build and programs are stand-ins.
# Usage: StartScriptsTest.sh SOURCE_DIR
set -eu
source_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

root=$scratch/tree
mkdir -p "$root/scripts" "$root/build/bin" "$scratch/elsewhere/levels"
cp "$source_dir/scripts/edit.sh" "$source_dir/scripts/play.sh" "$root/scripts/"
printf '#!/bin/sh\n' >"$root/scripts/build.sh"
for program in KrawlixEditor Krawlix; do
  cat >"$root/build/bin/$program" <<STAND_IN
#!/bin/sh
{ pwd; for a in "\$@"; do [ -f "\$a" ] && echo "found \$a" || echo "missing \$a"; done; } \
  >"$scratch/$program.out"
STAND_IN
  chmod +x "$root/build/bin/$program"
done
: >"$scratch/elsewhere/levels/my level.kxlev"

failed=0
check() { # program script
  (cd "$scratch/elsewhere" && sh "../tree/scripts/$2" "levels/my level.kxlev")
  expected=$(printf '%s\nfound levels/my level.kxlev' "$(cd "$scratch/elsewhere" && pwd)")
  if [ "$(cat "$scratch/$1.out")" != "$expected" ]; then
    echo "$2: the program saw:" >&2
    cat "$scratch/$1.out" >&2
    failed=1
  fi
}
check KrawlixEditor edit.sh
check Krawlix play.sh
exit $failed
