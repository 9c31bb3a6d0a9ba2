#!/bin/sh
# Builds the page with Debian's emscripten: the emcmake configuration in BUILD, the page's files
# (index.html, Krawlix.js, Krawlix.wasm, Krawlix.bfres) in PAGE, the archive taken from ARCHIVE.
#   sh scripts/web-build.sh BUILD PAGE ARCHIVE
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
page=$2
archive=$3
# Debian's emscripten runs its optimiser on node; with a node that is not Debian's, the
# optimiser's modules are found only there.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
launcher=""
if command -v ccache >/dev/null 2>&1; then
  launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
# shellcheck disable=SC2086
emcmake cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKX_WEB_ARCHIVE="$archive" -DKX_WEB_PAGE_DIR="$page" $launcher >/dev/null
# Only the page's own files stay in PAGE.
mkdir -p "$page"
for f in "$page"/* "$page"/.[!.]*; do
  case ${f##*/} in
  index.html | Krawlix.js | Krawlix.wasm | Krawlix.bfres | '*' | '.[!.]*') ;;
  *) rm -rf "$f" ;;
  esac
done
cmake --build "$build" -j 2
