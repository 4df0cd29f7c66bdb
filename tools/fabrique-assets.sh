#!/bin/sh
# Builds the asset tool and regenerates every picture and sound under assets/.
# Run from the repository root.
set -eu
cmake -S . -B build-assets -DTIR_OUTILS=ON
cmake --build build-assets --target fabrique-assets
build-assets/fabrique-assets assets
