#!/bin/sh
# Builds the record keeper's request check as a libFuzzer target with clang (outside the normal
# build) and runs it on fuzz/corpus-gardien. Arguments go to libFuzzer, e.g. -max_total_time=300.
set -eu
ICI=$(cd "$(dirname "$0")" && pwd)
RACINE=$(dirname "$ICI")
SORTIE=${TIR_FUZZ_BUILD:-$RACINE/build-fuzz}
mkdir -p "$SORTIE/neufs-gardien" "$ICI/corpus-gardien"
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
    $SUDO apt-get install -y -qq clang libclang-rt-14-dev >/dev/null
fi
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I"$RACINE/src" \
    "$ICI/fuzz_demande.cpp" "$RACINE/src/gardien/Demande.cpp" "$RACINE/src/platform/Texte.cpp" -o "$SORTIE/fuzz_demande"
exec "$SORTIE/fuzz_demande" -max_len=1024 "$SORTIE/neufs-gardien" "$ICI/corpus-gardien" "$@"
