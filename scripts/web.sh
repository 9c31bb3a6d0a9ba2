#!/bin/sh
# Builds the game's page into build-web/ (HTML, JavaScript, WebAssembly and the archive, which
# the native build in build/ makes) and serves it at http://127.0.0.1:8080/ until Ctrl+C.
# The folder is the whole page: copied anywhere that serves files, it runs.
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target archive
sh scripts/web-build.sh "$(pwd)/build/web/build" "$(pwd)/build-web" "$(pwd)/build/bin/Krawlix.bfres"
echo "Krawlix im Browser: http://127.0.0.1:8080/"
exec python3 -m http.server 8080 --bind 127.0.0.1 --directory build-web
