#!/bin/sh
# Builds the Debian package from build/ (after scripts/build.sh), unpacks it into a scratch
# root and starts the installed programs from there.
set -eu
cd "$(dirname "$0")/.."
rm -rf build/package
cpack --config build/CPackConfig.cmake -G DEB -B build/package
deb=$(ls build/package/krawlix_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Depends
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin
"$bin/krawlix-tool" --help >/dev/null
echo "krawlix-tool --help: ok"
# The archive is found in usr/share/krawlix beside the installed program folder.
"$bin/krawlix-tool" text 1 "Krawlix" "$root/text.png"
echo "krawlix-tool found Krawlix.bfres: ok"
for program in Krawlix KrawlixEditor; do
  if [ -e "build/bin/$program" ] && [ ! -x "$bin/$program" ]; then
    echo "$program was built but is not in the package" >&2
    exit 1
  fi
done
if [ -x "$bin/Krawlix" ]; then
  "$bin/Krawlix" --version
else
  echo "this build has no game program; Krawlix --version not run"
fi
if [ -x "$bin/KrawlixEditor" ]; then
  dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || {
    echo "the package holds the editor but does not depend on Qt 6 Widgets" >&2
    exit 1
  }
fi
echo "package check passed"
