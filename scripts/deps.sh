#!/bin/sh
# Installs the Debian packages that building and testing Krawlix needs, only those missing.
# The one list of packages: later parts of the project extend it here.
#   scripts/deps.sh          build and test
#   scripts/deps.sh --ci     also the fuzzing toolchain, the format check and lintian
set -eu

packages="g++ cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev
  libpng-dev
  libfreetype-dev fonts-liberation2 fonts-dejavu-core
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n
  xvfb xauth x11-apps xdotool
  emscripten chromium
  desktop-file-utils appstream shared-mime-info dpkg-dev file help2man"
if [ "${1:-}" = "--ci" ]; then
  packages="$packages clang-14 libclang-rt-14-dev clang-format-14 lintian"
fi

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" = 0 ]; then
  run() { "$@"; }
else
  run() { sudo "$@"; }
fi
run env DEBIAN_FRONTEND=noninteractive apt-get update -q
# shellcheck disable=SC2086
run env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
