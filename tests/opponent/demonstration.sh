#!/bin/sh
# The demonstration under Xvfb: --ordinateur=AB --niveau=expert plays a whole game of ten hits
# by itself, and the game ends at the flash and the new-game button with "Tir.ini" untouched.
# Exits 77 (skipped) when Xvfb, xdotool or ImageMagick is missing.
# Usage: demonstration.sh <tir-au-murax>
set -eu
JEU=$1
for outil in Xvfb xdotool import convert; do
    command -v "$outil" >/dev/null 2>&1 || { echo "IGNORÉ : $outil est absent"; exit 77; }
done
TMP=$(mktemp -d)
XVFB_PID=""
JEU_PID=""
nettoie() {
    [ -n "$JEU_PID" ] && kill "$JEU_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$TMP"
}
trap nettoie EXIT

# The game in a folder of its own, where it keeps its record: one it must not touch.
cp "$JEU" "$(dirname "$JEU")"/*.wav "$TMP/"
printf '[Tir_au_Murax]\r\nScoreMaxi=-500\r\nNomJoueur=Pilote\r\n' >"$TMP/Tir.ini"
cp "$TMP/Tir.ini" "$TMP/record.avant"

exec 3>"$TMP/affichage"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do [ -s "$TMP/affichage" ] && break; sleep 0.1; done
[ -s "$TMP/affichage" ] || { echo "ÉCHEC : Xvfb ne démarre pas" >&2; exit 1; }
DISPLAY=:$(cat "$TMP/affichage")
export DISPLAY
QT_QPA_PLATFORM=xcb "$TMP/tir-au-murax" --ordinateur=AB --niveau=expert >"$TMP/sortie" 2>&1 &
JEU_PID=$!

# The colour of a pixel of the game window (window coordinates), as RRGGBB.
couleur() {
    import -window root -depth 8 -crop "1x1+$(( X + $1 ))+$(( Y + $2 ))" txt:- 2>/dev/null |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'a-f' 'A-F'
}
for _ in $(seq 50); do
    FENETRE=$(xdotool search --name "Tir au Murax" 2>/dev/null | head -1) && [ -n "$FENETRE" ] && break
    sleep 0.1
done
[ -n "${FENETRE:-}" ] || { cat "$TMP/sortie"; echo "ÉCHEC : pas de fenêtre" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$FENETRE")"

# The game is over when, for eight seconds on end (a hit's sequence is shorter, the flash lasts
# three), the wind's arrow panel is gone and the new-game button's face shows where the points
# panel would be yellow or green.
fini=0
for _ in $(seq 300); do
    sleep 1
    kill -0 "$JEU_PID" 2>/dev/null || { cat "$TMP/sortie"; echo "ÉCHEC : le jeu s'est arrêté" >&2; exit 1; }
    if [ "$(couleur 250 368)" = "D4D0C8" ] && [ "$(couleur 268 356)" = "D4D0C8" ]; then
        fini=$((fini + 1))
    else
        fini=0
    fi
    if [ "$fini" -ge 8 ]; then
        import -window root -crop "80x14+$(( X + 280 ))+$(( Y + 359 ))" "$TMP/nouveau.png"
        NOIRS=$(convert "$TMP/nouveau.png" -fill white +opaque black -format '%[fx:mean<1]' info:)
        [ "$NOIRS" = "1" ] || { echo "ÉCHEC : pas de bouton Nouvelle Partie" >&2; exit 1; }
        cmp "$TMP/Tir.ini" "$TMP/record.avant" || { echo "ÉCHEC : Tir.ini a changé" >&2; exit 1; }
        echo "partie finie, Tir.ini intact"
        exit 0
    fi
done
echo "ÉCHEC : la démonstration ne finit pas en 300 s" >&2
exit 1
