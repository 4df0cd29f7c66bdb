#!/bin/sh
# Sets up, builds and runs the whole test suite headless: once in a normal build, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
JOBS=$(nproc)

# No executable binary (ELF) is kept in the repository: programs are built from their sources.
if git ls-files -z | xargs -0 sh -c 'for f; do [ -f "$f" ] &&
        [ "$(head -c 4 "$f" | od -An -tx1 | tr -d " \n")" = 7f454c46 ] && echo "$f"; done' sh |
        grep .; then
    echo "binaires exécutables suivis par git (ci-dessus)" >&2
    exit 1
fi

# Every C++ file is formatted by the repository's .clang-format.
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DTIR_WERROR=ON >/dev/null
cmake --build build -j "$JOBS"

# Static analysis of the game's own code, with the checks of .clang-tidy (warnings are errors).
if ! git ls-files 'src/*.cpp' | xargs -P "$JOBS" -n 4 clang-tidy -p build --quiet \
    >build/clang-tidy.log 2>&1; then
    grep -v "warnings generated" build/clang-tidy.log >&2
    exit 1
fi
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ctest --test-dir build --output-on-failure -j "$JOBS"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTIR_SANITIZE=ON -DTIR_BENCH=OFF \
    -DBUILD_TESTING=ON -DTIR_WERROR=ON >/dev/null
cmake --build build-asan -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/scripts/lsan.supp" \
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    ctest --test-dir build-asan --output-on-failure -j "$JOBS"
