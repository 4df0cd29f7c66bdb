#!/bin/sh
# The game's figures, measured and set against their targets in one table.
#
# Builds the game and the benchmarks in Release (build-bench), the tests in the normal build
# (build-perf), starts a private Xvfb, then measures:
#   - start-up, memory and idle, whole process: bench/demarrage.c starts the game REPETITIONS
#     times (the first start is reported apart: cold files), with the median of the others, and
#     as many times, in turn with it, a bare Qt 6 window with a painted field
#     (bench/fenetre_nue.cpp): the floor Qt sets;
#   - the landscape: bench_tir offscreen, median CPU time of DessinePaysage;
#   - the flight (tests, frames, CPU) and the animations' CPU: bench_tir on the Xvfb screen
#     with the real clock;
#   - the whole test suite: ctest, sequential, median of TEST_RUNS runs (and once with -j2).
# Usage: bench/mesure.sh   (environment: REPETITIONS=7 TEST_RUNS=3)
set -eu
SOURCES=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$SOURCES/build-bench
TESTS=$SOURCES/build-perf
REPETITIONS=${REPETITIONS:-7}
TEST_RUNS=${TEST_RUNS:-3}
TMP=$(mktemp -d)
XVFB_PID=""
nettoie() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$TMP"
}
trap nettoie EXIT

echo "Building (Release in $BUILD, tests in $TESTS)..." >&2
cmake -S "$SOURCES" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
cmake --build "$BUILD" -j2 --target tir-au-murax bench_tir fenetre_nue >/dev/null
cc -O2 -Wall -Wextra -o "$BUILD/demarrage" "$SOURCES/bench/demarrage.c" -lX11 -lXext
cmake -S "$SOURCES" -B "$TESTS" -DBUILD_TESTING=ON >/dev/null
cmake --build "$TESTS" -j2 >/dev/null

charge_avant=$(cut -d' ' -f1-3 /proc/loadavg)
exec 3>"$TMP/affichage"
# -noreset: a server that resets when its last client leaves refuses the next start's connection.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do [ -s "$TMP/affichage" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$TMP/affichage")
export DISPLAY
export SDL_AUDIODRIVER=dummy
mkdir -m 700 "$TMP/runtime"
export XDG_RUNTIME_DIR="$TMP/runtime"

# Median of the numbers on standard input.
mediane() { sort -n | awk '{v[NR] = $1} END {print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# Value of key $2 in the key=value file $1, one line per start.
cle() { sed -n "s/^$2=//p" "$1"; }

echo "Starting the game and the bare window $REPETITIONS times each (15 s each)..." >&2
cd "$BUILD"
# The field's inner area lies 5 pixels right of and 4 pixels below the window's corner, in
# both windows.
for i in $(seq "$REPETITIONS"); do
    ./demarrage 5 4 627 334 ./tir-au-murax >"$TMP/demarrage$i" 2>/dev/null ||
        echo "start $i of the game not measured" >&2
    ./demarrage 5 4 627 334 ./fenetre_nue >"$TMP/nue$i" 2>/dev/null ||
        echo "start $i of the bare window not measured" >&2
done
for i in $(seq 2 "$REPETITIONS"); do cat "$TMP/demarrage$i"; done >"$TMP/chauds"
for i in $(seq 2 "$REPETITIONS"); do cat "$TMP/nue$i"; done >"$TMP/nues"

# Benchmark CSV: the median row of benchmark $2, column $3 (by header name), from file $1.
colonne() {
    awk -F, -v nom="$2" -v col="$3" '
        /^name,/ { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); idx[$i] = i }; next }
        idx[col] && index($1, nom) && $1 ~ /_median"?$/ { print $idx[col]; exit }' "$1"
}
echo "Benchmarks..." >&2
./bench_tir --benchmark_filter='^DessinePaysage$' --benchmark_repetitions=7 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv >"$TMP/paysage.csv" 2>/dev/null ||
    echo "landscape benchmark failed" >&2
# One run per benchmark: the CSV report wants the same counters in every row.
for b in VolForce120 ExplosionFlammes; do
    QT_QPA_PLATFORM=xcb ./bench_tir --benchmark_filter="$b" --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=true --benchmark_format=csv \
        >"$TMP/$b.csv" 2>"$TMP/$b.log" || {
        echo "benchmark $b failed:" >&2
        tail -n 5 "$TMP/$b.log" >&2
    }
done

echo "Test suite..." >&2
cd "$TESTS"
for i in $(seq "$TEST_RUNS"); do
    debut=$(date +%s.%N)
    ctest >/dev/null 2>&1 || echo "some tests failed (run $i)" >&2
    awk -v a="$debut" -v b="$(date +%s.%N)" 'BEGIN {print b - a}'
done >"$TMP/suite"
debut=$(date +%s.%N)
ctest -j2 >/dev/null 2>&1 || true
suite_j2=$(awk -v a="$debut" -v b="$(date +%s.%N)" 'BEGIN {print b - a}')

# One row: figure, target, measured, met (awk expression over m, the measured value).
ligne() { printf '| %s | %s | %s | %s |\n' "$1" "$2" "$3" "$4"; }
verdict() { awk -v m="$1" "BEGIN {print ($2) ? \"yes\" : \"no\"}"; }

carte=$(cle "$TMP/chauds" carte | mediane)
paysage=$(cle "$TMP/chauds" paysage | mediane)
rss=$(cle "$TMP/chauds" rss_kib | mediane)
rss_mib=$(awk -v k="$rss" 'BEGIN {printf "%.1f", k / 1024}')
nue_carte=$(cle "$TMP/nues" carte | mediane)
nue_champ=$(cle "$TMP/nues" paysage | mediane)
nue_rss=$(cle "$TMP/nues" rss_kib | mediane)
nue_rss_mib=$(awk -v k="$nue_rss" 'BEGIN {printf "%.1f", k / 1024}')
cpu=$(cle "$TMP/chauds" cpu_pct | mediane)
reveils=$(cle "$TMP/chauds" reveils_s | mediane)
pas=$(cle "$TMP/chauds" pas_ms | mediane)
dessine=$(colonne "$TMP/paysage.csv" DessinePaysage cpu_time)
tpp=$(colonne "$TMP/VolForce120.csv" VolForce120 tests_par_pixel)
tps=$(colonne "$TMP/VolForce120.csv" VolForce120 tests_par_s)
ips=$(colonne "$TMP/VolForce120.csv" VolForce120 images_par_s)
hz=$(colonne "$TMP/VolForce120.csv" VolForce120 hz_ecran)
cpu_vol=$(colonne "$TMP/VolForce120.csv" VolForce120 cpu_vol_pct)
cpu_exp=$(colonne "$TMP/ExplosionFlammes.csv" ExplosionFlammes cpu_explosion_pct)
cpu_fla=$(colonne "$TMP/ExplosionFlammes.csv" ExplosionFlammes cpu_flammes_pct)
cpu_cli=$(colonne "$TMP/ExplosionFlammes.csv" ExplosionFlammes cpu_clignotement_pct)
cpu_pire=$(printf '%s\n%s\n%s\n' "$cpu_exp" "$cpu_fla" "$cpu_cli" | sort -g | tail -n 1)
suite=$(mediane <"$TMP/suite")

echo
echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)"
echo "Load average before measuring: $charge_avant; after: $(cut -d' ' -f1-3 /proc/loadavg). Xvfb 1024x768x24, screen reported at ${hz} Hz."
echo
ligne "Figure" "Target" "Median" "Met"
ligne "---" "---" "---" "---"
ligne "Start-up: exec to window mapped" "≤ 90 ms" "$(printf '%.0f' "$carte") ms" "$(verdict "$carte" 'm <= 90')"
ligne "Start-up: exec to first landscape with both cannons on screen" "≤ 110 ms" "$(printf '%.0f' "$paysage") ms (capture step $(printf '%.1f' "$pas") ms)" "$(verdict "$paysage" 'm <= 110')"
ligne "Resident memory 5 s after start" "≤ 32 MiB" "$rss_mib MiB" "$(verdict "$rss" 'm <= 32 * 1024')"
ligne "Bare Qt 6 window, same run: exec to window mapped / to its field on screen / memory at 5 s" "the floor" "$(printf '%.0f' "$nue_carte") ms / $(printf '%.0f' "$nue_champ") ms / $nue_rss_mib MiB" "—"
ligne "Idle at the first screen: CPU" "0.0 %" "$(printf '%.2f' "$cpu") %" "$(verdict "$cpu" 'm < 0.05')"
ligne "Idle at the first screen: wake-ups per second" "≤ 1" "$reveils" "$(verdict "$reveils" 'm <= 1')"
ligne "Flight: colour tests per pixel of shell travel, force 120" "≥ 64" "$(printf '%.0f' "$tpp") ($(printf '%.0f' "$tps") tests/s)" "$(verdict "$tpp" 'm >= 64')"
ligne "Flight: frames shown per second (screen at ${hz} Hz)" "≥ 55" "$(printf '%.1f' "$ips")" "$(verdict "$ips" 'm >= 55')"
ligne "CPU: flight, force 120" "≤ 5 % of one core" "$(printf '%.1f' "$cpu_vol") %" "$(verdict "$cpu_vol" 'm <= 5')"
ligne "CPU: explosion / flames / flash" "≤ 10 % of one core" "$(printf '%.1f / %.1f / %.1f' "$cpu_exp" "$cpu_fla" "$cpu_cli") %" "$(verdict "$cpu_pire" 'm <= 10')"
ligne "DessinePaysage (three layers, fills, both cannons, repaint)" "≤ 1 ms" "$(printf '%.0f' "$dessine") µs CPU" "$(verdict "$dessine" 'm <= 1000')"
ligne "Whole test suite (normal build, sequential)" "≤ 30 s" "$(printf '%.1f' "$suite") s (ctest -j2: $(printf '%.1f' "$suite_j2") s)" "$(verdict "$suite" 'm <= 30')"
echo
echo "First start (cold files): exec to window mapped $(cle "$TMP/demarrage1" carte) ms, to first landscape $(cle "$TMP/demarrage1" paysage) ms, memory $(cle "$TMP/demarrage1" rss_kib) KiB."
echo "Bare window's first start: mapped $(cle "$TMP/nue1" carte) ms, field $(cle "$TMP/nue1" paysage) ms, memory $(cle "$TMP/nue1" rss_kib) KiB; idle $(cle "$TMP/nues" cpu_pct | mediane) % CPU, $(cle "$TMP/nues" reveils_s | mediane) wake-ups/s."
