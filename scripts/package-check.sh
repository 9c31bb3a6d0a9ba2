#!/bin/sh
# Builds the Debian package from build/ (after scripts/build.sh; KX_BUILD_DIR names another
# build folder), checks it with lintian, which must name no error and no warning, unpacks it
# into a scratch root and starts the installed programs from there.
set -eu
cd "$(dirname "$0")/.."
build=${KX_BUILD_DIR:-build}
rm -rf "$build/package"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$build/package"
deb=$(ls "$build"/package/krawlix_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Section Depends
echo "lintian $(lintian --version | sed 's/^Lintian v//'):"
if ! lintian --fail-on error,warning "$deb"; then
  echo "lintian names errors or warnings in the package" >&2
  exit 1
fi
echo "lintian: no error, no warning; overridden, as packaging/lintian-overrides says why:"
grep -v '^#' packaging/lintian-overrides
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin
games=$root/usr/games
"$bin/krawlix-tool" --help >/dev/null
"$bin/krawlix-tool" --version
# The archive is found in usr/share/krawlix beside the installed program folder.
"$bin/krawlix-tool" text 1 "Krawlix" "$root/text.png"
echo "krawlix-tool found Krawlix.bfres: ok"
if [ -e "$build/bin/Krawlix" ]; then
  if [ ! -x "$games/Krawlix" ] || [ -e "$bin/Krawlix" ]; then
    echo "the game was built but is not in usr/games alone" >&2
    exit 1
  fi
  "$games/Krawlix" --version
  # The game's start-up, as the tool runs it headless, finds the archive from usr/games.
  "$bin/krawlix-tool" shot --program-dir "$games" --documents-dir "$root" \
    --profile "$root/profile.conf" --at 100 "$root/title.png"
  echo "the game's start-up from usr/games found Krawlix.bfres: ok"
else
  echo "this build has no game program; Krawlix --version not run"
fi
if [ -e "$build/bin/KrawlixEditor" ]; then
  [ -x "$bin/KrawlixEditor" ] || {
    echo "KrawlixEditor was built but is not in the package" >&2
    exit 1
  }
  "$bin/KrawlixEditor" --version
  dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || {
    echo "the package holds the editor but does not depend on Qt 6 Widgets" >&2
    exit 1
  }
fi
echo "package check passed"
