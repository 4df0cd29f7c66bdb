#!/bin/sh
# A long sitting of real play: the game on real time under Xvfb, its shots fired, its aims moved
# and its record dialog answered through xdotool, its resident memory sampled every minute.
# Usage: scripts/longue-partie.sh [seconds, default 3600] [build folder, default build]
# The first measure is taken once the game has been through each of its moments once: at least
# TIR_CHAUFFE seconds of play and a first record dialog answered (or TIR_CHAUFFE_MAXI seconds
# without one). The sitting then goes on for the given seconds; the script prints the resident
# memory at the first measure and at the end, and fails when it grew by more than 1 MiB.
set -eu
DUREE=${1:-3600}
CONSTRUCTION=${2:-build}
RACINE=$(cd "$(dirname "$0")/.." && pwd)
case $CONSTRUCTION in /*) ;; *) CONSTRUCTION=$RACINE/$CONSTRUCTION ;; esac
CHAUFFE=${TIR_CHAUFFE:-120}          # seconds of play before the first measure
CHAUFFE_MAXI=${TIR_CHAUFFE_MAXI:-1800}  # no longer waiting for a record dialog after this
TOLERANCE=$((1024))                  # KiB
JEU=$(mktemp -d "${TMPDIR:-/tmp}/tir-longue-XXXXXX")
JOURNAL=$JEU/memoire.log
cp "$CONSTRUCTION/tir-au-murax" "$CONSTRUCTION"/*.wav "$JEU/"

# A display of its own: the server picks a free number and tells it.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$JEU/ecran" >/dev/null 2>&1 &
XVFB=$!
JEU_PID=""
fin() {
    [ -n "$JEU_PID" ] && kill "$JEU_PID" 2>/dev/null || true
    kill "$XVFB" 2>/dev/null || true
}
trap fin EXIT INT TERM
while [ ! -s "$JEU/ecran" ]; do sleep 0.1; done
ECRAN=:$(cat "$JEU/ecran")
export DISPLAY=$ECRAN
QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy "$JEU/tir-au-murax" >"$JEU/jeu.log" 2>&1 &
JEU_PID=$!
xdotool search --sync --onlyvisible --name "Tir au Murax" >/dev/null 2>&1

rss() { awk '/^VmRSS/ { print $2 }' "/proc/$JEU_PID/status"; }
# Resident memory by kind, and a copy of the memory map, so that a step can be traced to its mapping.
releve() {
    awk '/^Rss(Anon|File|Shmem)/ { printf " %s %s", $1, $2 }' "/proc/$JEU_PID/status"
    cp "/proc/$JEU_PID/smaps" "$JEU/smaps-$1" 2>/dev/null || true
}
# A click at x y of the game's window, which stands at the top left of its own screen.
clique() { xdotool mousemove "$1" "$2" click 1 >/dev/null 2>&1 || true; }
hasard() { awk -v n="$1" -v g="$(od -An -N4 -tu4 /dev/urandom)" 'BEGIN { srand(g); print int(rand() * n) }'; }

# Each round sets new aims for both players through the bars' arrows (steps of 5): all the way
# down, then up. The angle is drawn from 45 to 75 degrees and the force around the one that
# carries a shell across a flat field at that angle (69 at 45 degrees, more as the angle rises),
# give or take 12 for the hills and the wind: enough hits for whole games to end.
# Each bar: its left edge and width in the window.
monte() {
    xdotool mousemove $(($1 + 7)) 412 click --repeat 25 --delay 15 1 >/dev/null 2>&1 || true
    [ "$3" -gt 0 ] && xdotool mousemove $(($1 + $2 - 8)) 412 click --repeat "$3" --delay 15 1 \
        >/dev/null 2>&1
    return 0
}
vise() {
    for camp in "5 131" "390 516"; do
        set -- $camp
        angle=$((45 + 5 * $(hasard 7)))
        ecart=$(($(hasard 25) - 12))
        force=$(awk -v a="$angle" -v e="$ecart" 'BEGIN {
            f = 69 / sqrt(sin(2 * a * atan2(0, -1) / 180)) + e
            if (f < 0) f = 0
            if (f > 120) f = 120
            print int(f / 5 + 0.5) }')
        monte "$1" 89 $((angle / 5))
        monte "$2" 85 "$force"
    done
}
# The record dialog, when it is up, is answered with a name and Enter.
repond() {
    DIALOGUE=$(xdotool search --onlyvisible --name "Score Maximum" 2>/dev/null | head -n 1 || true)
    [ -z "$DIALOGUE" ] && return 0
    xdotool windowfocus --sync "$DIALOGUE" type "Endurance" >/dev/null 2>&1 || true
    xdotool windowfocus --sync "$DIALOGUE" key Return >/dev/null 2>&1 || true
    records=$((records + 1))
}

DEBUT=$(date +%s)
coups=0
records=0
avant=""
MESURE=""
while [ -z "$MESURE" ] || [ $(($(date +%s) - MESURE)) -lt "$DUREE" ]; do
    kill -0 "$JEU_PID" 2>/dev/null || { echo "the game stopped" >&2; exit 1; }
    repond
    vise
    clique 275 409   # A's fire button
    clique 361 409   # B's fire button: one of the two is the shooter's
    clique 306 350   # the wind's value: a new wind
    coups=$((coups + 1))
    ecoule=$(($(date +%s) - DEBUT))
    if [ -z "$avant" ] && [ "$ecoule" -ge "$CHAUFFE" ] &&
        { [ "$records" -gt 0 ] || [ "$ecoule" -ge "$CHAUFFE_MAXI" ]; }; then
        avant=$(rss)
        MESURE=$(date +%s)
        echo "$ecoule s: first measure, VmRSS $avant KiB, $records record dialogs so far" >>"$JOURNAL"
    fi
    [ $((coups % 12)) -eq 0 ] &&
        echo "$ecoule s, $coups rounds, $records records, VmRSS $(rss) KiB,$(releve "$ecoule")" >>"$JOURNAL"
    sleep 5
done
apres=$(rss)
import -display "$ECRAN" -window root "$JEU/fin.png" 2>/dev/null || true
echo "played $(($(date +%s) - DEBUT)) s ($(($(date +%s) - MESURE)) s after the first measure), $coups rounds of clicks, $records record dialogs answered"
echo "VmRSS at the first measure: $avant KiB, at the end: $apres KiB"
if [ -f "$JEU/Tir.ini" ]; then echo "record file: $(tr '\r\n' '  ' <"$JEU/Tir.ini")"; fi
echo "last screen: $JEU/fin.png"
cat "$JOURNAL" 2>/dev/null || true
[ $((apres - avant)) -le "$TOLERANCE" ]
