#!/bin/sh
# Sets up, builds and starts the game.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target tir-au-murax
exec ./build/tir-au-murax
