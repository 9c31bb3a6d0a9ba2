#!/bin/sh
# Installs what is missing, configures and builds everything into build/ (programs and
# Krawlix.bfres in build/bin).
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
