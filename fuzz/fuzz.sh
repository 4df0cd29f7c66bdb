#!/bin/sh
# Builds the profile file editor's fuzz target with clang and libFuzzer (outside the normal build) and
# runs it on fuzz/corpus. Arguments go to libFuzzer, e.g. -max_total_time=600.
# Minimise the corpus afterwards with:  fuzz/fuzz.sh --merge
set -eu
ICI=$(cd "$(dirname "$0")" && pwd)
RACINE=$(dirname "$ICI")
SORTIE=${TIR_FUZZ_BUILD:-$RACINE/build-fuzz}
mkdir -p "$SORTIE" "$ICI/corpus"

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
    $SUDO apt-get install -y -qq clang libclang-rt-14-dev >/dev/null
fi

# shellcheck disable=SC2046
clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
    -I"$RACINE/src" -I"$RACINE/tests/support" $(pkg-config --cflags Qt6Core) \
    "$ICI/fuzz_profil.cpp" "$RACINE/src/platform/Profil.cpp" "$RACINE/src/platform/Texte.cpp" \
    $(pkg-config --libs Qt6Core) -o "$SORTIE/fuzz_profil"

if [ "${1:-}" = "--merge" ]; then
    mkdir -p "$SORTIE/min"
    rm -f "$SORTIE/min"/*
    "$SORTIE/fuzz_profil" -merge=1 "$SORTIE/min" "$ICI/corpus" "$SORTIE/neufs"
    rm -f "$ICI/corpus"/*
    cp "$SORTIE/min"/* "$ICI/corpus/"
    exit 0
fi
mkdir -p "$SORTIE/neufs"
exec "$SORTIE/fuzz_profil" -max_len=4096 "$SORTIE/neufs" "$ICI/corpus" "$@"
