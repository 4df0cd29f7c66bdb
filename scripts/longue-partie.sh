#!/bin/sh
# A long sitting of real play: the game on real time under Xvfb, its shots fired, its aims moved
# and its record dialog answered through xdotool, its resident memory sampled every minute.
# Usage: scripts/longue-partie.sh [seconds, default 3600] [build folder, default build]
# Prints the resident memory after the first game's warm-up and at the end, and fails when it
# grew by more than 1 MiB.
set -eu
DUREE=${1:-3600}
CONSTRUCTION=${2:-build}
RACINE=$(cd "$(dirname "$0")/.." && pwd)
case $CONSTRUCTION in /*) ;; *) CONSTRUCTION=$RACINE/$CONSTRUCTION ;; esac
CHAUFFE=${TIR_CHAUFFE:-120}          # seconds of play before the first measure
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

# The aims move by the bars' arrows, a few steps of 5 up or down at a time, so that they wander
# over every angle and force and shots land everywhere, hits included.
# Each bar: its left edge and width in the window (A's angle, A's force, B's angle, B's force).
vise() {
    for barre in "5 89" "131 85" "390 89" "516 85"; do
        set -- $barre
        if [ "$(hasard 2)" = 0 ]; then x=$(($1 + 7)); else x=$(($1 + $2 - 8)); fi
        n=$(hasard 5)
        [ "$n" -gt 0 ] && xdotool mousemove "$x" 412 click --repeat "$n" --delay 80 1 >/dev/null 2>&1
    done
    return 0
}
# The record dialog, when it is up, is answered with a name and Enter.
repond() {
    DIALOGUE=$(xdotool search --onlyvisible --name "Score Maximum" 2>/dev/null | head -n 1 || true)
    [ -z "$DIALOGUE" ] && return 0
    xdotool windowfocus --sync "$DIALOGUE" type "Endurance" >/dev/null 2>&1 || true
    xdotool windowfocus --sync "$DIALOGUE" key Return >/dev/null 2>&1 || true
}

DEBUT=$(date +%s)
coups=0
avant=""
while [ $(($(date +%s) - DEBUT)) -lt "$DUREE" ]; do
    kill -0 "$JEU_PID" 2>/dev/null || { echo "the game stopped" >&2; exit 1; }
    repond
    vise
    clique 275 409
    clique 361 409
    clique 321 365
    coups=$((coups + 1))
    ecoule=$(($(date +%s) - DEBUT))
    if [ -z "$avant" ] && [ "$ecoule" -ge "$CHAUFFE" ]; then avant=$(rss); fi
    [ $((coups % 12)) -eq 0 ] && echo "$ecoule s, $coups rounds, VmRSS $(rss) KiB,$(releve "$ecoule")" >>"$JOURNAL"
    sleep 5
done
apres=$(rss)
import -display "$ECRAN" -window root "$JEU/fin.png" 2>/dev/null || true
[ -z "$avant" ] && avant=$apres
echo "played $(($(date +%s) - DEBUT)) s, $coups rounds of clicks; VmRSS after warm-up: $avant KiB, at the end: $apres KiB"
if [ -f "$JEU/Tir.ini" ]; then echo "record file: $(tr '\r\n' '  ' <"$JEU/Tir.ini")"; fi
echo "last screen: $JEU/fin.png"
cat "$JOURNAL" 2>/dev/null || true
[ $((apres - avant)) -le "$TOLERANCE" ]
