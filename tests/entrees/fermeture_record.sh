#!/bin/sh
# The window manager's close button pressed during the last shot of a game that ends with a
# record: the game keeps the window until the shot is over, the winner types his name in the
# record dialog, and then the game ends with status 0, the record kept. Runs the input tests'
# scenario under Xvfb with openbox, a window manager that draws a real close button.
# Usage: fermeture_record.sh <build folder>
set -eu
BUILD=$(cd "$1" && pwd)
for outil in Xvfb openbox xdotool; do
    if ! command -v "$outil" >/dev/null 2>&1; then
        echo "IGNORÉ : $outil est absent (scripts/setup.sh l'installe)"
        exit 77
    fi
done
TMP=$(mktemp -d)
XVFB_PID=""
WM_PID=""
nettoie() {
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$TMP"
}
trap nettoie EXIT

exec 3>"$TMP/affichage"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do [ -s "$TMP/affichage" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$TMP/affichage")
export DISPLAY
openbox --sm-disable >/dev/null 2>&1 &
WM_PID=$!
gere() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
for _ in $(seq 50); do gere && break; sleep 0.1; done
gere || { echo "ÉCHEC : openbox ne gère pas l'écran" >&2; exit 1; }

QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy "$BUILD/test_entrees" --gtest_also_run_disabled_tests \
    --gtest_filter='DISABLED_SousOpenbox.*' >"$TMP/sortie" 2>&1 || {
    cat "$TMP/sortie"
    echo "ÉCHEC : la fermeture pendant le dernier coup" >&2
    exit 1
}
grep -q "PASSED  ] 1 test" "$TMP/sortie" || { cat "$TMP/sortie"; echo "ÉCHEC : aucun test" >&2; exit 1; }
echo "fermeture par le gestionnaire de fenêtres vérifiée"
