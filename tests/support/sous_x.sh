#!/bin/sh
# Runs one disabled test case of a test program on a real X server: a fresh Xvfb, and openbox on
# it when the case needs a window manager that draws a real close button. Passes only if that
# one case ran and passed; exits 77 (skipped) when a tool is missing.
# Usage: sous_x.sh [--openbox] <test program> <gtest filter>
set -eu
OPENBOX=""
if [ "$1" = "--openbox" ]; then
    OPENBOX=1
    shift
fi
PROGRAMME=$1
FILTRE=$2
OUTILS="Xvfb xdotool"
[ -n "$OPENBOX" ] && OUTILS="$OUTILS openbox xprop"
for outil in $OUTILS; do
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
[ -s "$TMP/affichage" ] || { echo "ÉCHEC : Xvfb ne démarre pas" >&2; exit 1; }
DISPLAY=:$(cat "$TMP/affichage")
export DISPLAY
if [ -n "$OPENBOX" ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    WM_PID=$!
    gere() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
    for _ in $(seq 50); do gere && break; sleep 0.1; done
    gere || { echo "ÉCHEC : openbox ne gère pas l'écran" >&2; exit 1; }
fi

QT_QPA_PLATFORM=xcb "$PROGRAMME" --gtest_also_run_disabled_tests --gtest_filter="$FILTRE" \
    >"$TMP/sortie" 2>&1 || {
    cat "$TMP/sortie"
    echo "ÉCHEC : $FILTRE" >&2
    exit 1
}
cat "$TMP/sortie"
grep -q "PASSED  ] 1 test" "$TMP/sortie" || { echo "ÉCHEC : aucun test ne passe $FILTRE" >&2; exit 1; }
