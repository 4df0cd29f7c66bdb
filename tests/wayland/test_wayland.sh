#!/bin/sh
# The game on Wayland, under Weston:
# 1. Weston's headless back end: the game's window names the desktop entry as its app id, and the
#    screen shows the window pixel for pixel as the game drew it;
# 2. Xvfb: the same window, field and layout as under Wayland, pixel for pixel;
# 3. Weston on Xvfb, which has a pointer (the headless back end has none, and Weston pings a
#    client when it is clicked): the longest handler, the tenth hit, plays to its end while the
#    field is clicked every quarter of a second; every ping is answered within 200 ms, and the
#    pointer turns into the hourglass for the shot and back into the arrow.
# Usage: test_wayland.sh <test_wayland program> <game>. Skipped (77) when Weston or Qt's Wayland
# platform is missing.
set -eu
PROGRAMME=$1
JEU=$2
saute() {
    echo "SKIP: $* : le jeu n'est pas essayé sous Wayland" >&2
    exit 77
}
command -v weston >/dev/null || saute "weston absent (paquet Debian weston)"
command -v weston-screenshooter >/dev/null || saute "weston-screenshooter absent"
find /usr/lib -path '*qt6/plugins/platforms/libqwayland-generic.so' 2>/dev/null | grep -q . ||
    saute "plate-forme Wayland de Qt absente (paquet Debian qt6-wayland)"
for outil in Xvfb xdotool import compare; do
    command -v $outil >/dev/null || saute "$outil absent"
done

TMP=$(mktemp -d)
chmod 700 "$TMP"
PIDS=""
nettoie() {
    for pid in $PIDS; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$TMP"
}
trap nettoie EXIT
echec() {
    echo "ÉCHEC : $*" >&2
    exit 1
}
attends() { # attends <fichier> [motif]: up to 15 s for the file (holding the pattern)
    for _ in $(seq 150); do
        if [ -s "$1" ] && { [ $# -lt 2 ] || grep -q "$2" "$1"; }; then return 0; fi
        sleep 0.1
    done
    return 1
}
attends_socket() { # a compositor's socket, up to 15 s
    for _ in $(seq 150); do
        [ -S "$TMP/$1" ] && return 0
        sleep 0.1
    done
    return 1
}
export XDG_RUNTIME_DIR="$TMP"
# Under the sanitizers: Qt's Wayland platform leaves its connection's objects to the process's
# end, in libraries the game does not own; the game's own leaks are checked by the other tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset DISPLAY WAYLAND_DISPLAY
TESTS="--gtest_also_run_disabled_tests"

# 1. Headless Weston, drawing with pixman so that its screen can be captured.
weston --backend=headless-backend.so --use-pixman --debug --shell=desktop-shell.so \
    --socket=tir-0 --width=1024 --height=768 --idle-time=0 --log="$TMP/weston.log" &
PIDS="$!"
attends_socket tir-0 || echec "Weston ne démarre pas"
WAYLAND_DISPLAY=tir-0 QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$JEU" 2>"$TMP/jeu.log" &
JEU_PID=$!
PIDS="$PIDS $JEU_PID"
attends "$TMP/jeu.log" "xdg_toplevel@[0-9]*\.set_app_id" || echec "le jeu n'ouvre pas de fenêtre"
kill "$JEU_PID"
grep -q 'set_app_id("fr.tiraumurax.TirAuMurax")' "$TMP/jeu.log" ||
    echec "app id : $(grep -o 'set_app_id(.*)' "$TMP/jeu.log")"
WAYLAND_DISPLAY=tir-0 QT_QPA_PLATFORM=wayland TIR_CAPTURE=weston-screenshooter \
    TIR_SORTIE="$TMP/wayland.png" "$PROGRAMME" $TESTS --gtest_filter='DISABLED_Ecran.*' \
    >"$TMP/ecran.log" 2>&1 || { cat "$TMP/ecran.log"; echec "la fenêtre sous Wayland"; }

# 2. The same window under X11.
exec 3>"$TMP/affichage"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
PIDS="$PIDS $!"
attends "$TMP/affichage" || echec "Xvfb ne démarre pas"
DISPLAY=:$(cat "$TMP/affichage")
export DISPLAY
QT_QPA_PLATFORM=xcb TIR_CAPTURE="import -window root ecran.png" TIR_SORTIE="$TMP/x11.png" \
    "$PROGRAMME" $TESTS --gtest_filter='DISABLED_Ecran.*' >"$TMP/ecran.log" 2>&1 ||
    { cat "$TMP/ecran.log"; echec "la fenêtre sous X11"; }
ecarts=$(compare -metric AE "$TMP/wayland.png" "$TMP/x11.png" null: 2>&1) || true
[ "$ecarts" = 0 ] || echec "$ecarts pixels diffèrent entre Wayland et X11"

# 3. Weston on the X display, with its protocol log; the tenth hit, the field clicked throughout.
WAYLAND_DEBUG=server weston --backend=x11-backend.so --use-pixman --shell=desktop-shell.so \
    --socket=tir-1 --width=1024 --height=768 --idle-time=0 --log="$TMP/weston-x11.log" \
    2>"$TMP/protocole.log" &
PIDS="$PIDS $!"
attends_socket tir-1 || echec "Weston sur X11 ne démarre pas"
# Weston draws the pointer into its screen: away from where the window comes, once Weston's own
# window is up. Weston follows the X pointer by its moves from wherever it first saw it, so the
# two may start apart: pushed against two opposite corners, they meet.
WESTON=""
for _ in $(seq 150); do
    WESTON=$(xdotool search --class "Weston Compositor" 2>/dev/null | head -n 1) || true
    [ -n "$WESTON" ] && break
    sleep 0.1
done
[ -n "$WESTON" ] || echec "la fenêtre de Weston n'apparaît pas"
xdotool mousemove --window "$WESTON" 1023 767 sleep 0.1 mousemove --window "$WESTON" 0 0 sleep 0.1 \
    mousemove --window "$WESTON" 20 740
WAYLAND_DISPLAY=tir-1 QT_QPA_PLATFORM=wayland TIR_CAPTURE="import -window root ecran.png" \
    TIR_SORTIE="$TMP/champ" "$PROGRAMME" $TESTS --gtest_filter='DISABLED_Tir.*' \
    >"$TMP/tir.log" 2>&1 &
TIR_PID=$!
PIDS="$PIDS $TIR_PID"
attends "$TMP/champ" || { cat "$TMP/tir.log"; echec "la fenêtre ne se trouve pas à l'écran"; }
read -r X Y <"$TMP/champ"
echo "champ au centre de l'écran en $X, $Y"
# The pointer enters the window before the shot, and stays on the field through it: moved again
# until the game has set its own pointer shape (another hot spot than the desktop's, which comes
# first in the log).
formes() { sed -n 's/^\[[0-9. ]*\] *wl_pointer@[0-9]*\.set_cursor([0-9]*, wl_surface@[0-9]*, \(.*\))$/\1/p' \
    "$TMP/protocole.log"; }
for _ in $(seq 20); do
    xdotool mousemove --window "$WESTON" 20 740 sleep 0.1 \
        mousemove --window "$WESTON" "$X" "$Y" sleep 0.4
    [ "$(formes | sort -u | wc -l)" -ge 2 ] && break
done
# Should Weston still lose the pointer, the game cannot be clicked there: the shot is not judged.
[ "$(formes | sort -u | wc -l)" -ge 2 ] ||
    saute "Weston sur X11 n'a pas amené le pointeur sur la fenêtre ; tir non jugé"
touch "$TMP/champ.clics"
while [ ! -e "$TMP/champ.tire" ]; do
    xdotool mousemove --window "$WESTON" "$X" "$Y" click 1
    sleep 0.25
done
touch "$TMP/champ.fin"
wait "$TIR_PID" || { cat "$TMP/tir.log"; echec "le tir sous Wayland"; }
# The pointer over the field: the arrow, the hourglass through the shot (another shape, with its
# own hot spot), the arrow again.
sed -n 's/^\[[0-9. ]*\] *wl_pointer@\([0-9]*\)\.set_cursor([0-9]*, wl_surface@[0-9]*, \(.*\))$/\1 \2/p' \
    "$TMP/protocole.log" | tr -d , | awk '
    { formes[$1] = formes[$1] " " $2 "," $3 }
    END {
        for (p in formes) {
            n = split(formes[p], f, " ")
            for (i = 2; i < n; i++) if (f[1] == f[n] && f[i] != f[1]) ok = 1
        }
        exit !ok
    }' || echec "le pointeur ne passe pas au sablier pendant le tir, puis à la flèche"
# "[ms.us] -> xdg_wm_base@N.ping(serial)" sent, "[ms.us] xdg_wm_base@N.pong(serial)" received.
bilan=$(sed -n 's/^\[ *\([0-9.]*\)\] *\(-> \)\{0,1\}xdg_wm_base@[0-9]*\.\(p[io]ng\)(\([0-9]*\))$/\1 \3 \4/p' \
    "$TMP/protocole.log" | awk '
    $2 == "ping" { envoi[$3] = $1; n++ }
    $2 == "pong" && ($3 in envoi) { r++; d = $1 - envoi[$3]; if (d > pire) pire = d }
    END { printf "%d %d %.1f\n", n, r, pire }')
echo "pings, réponses, pire délai (ms) : $bilan ; $(grep '^tir de' "$TMP/tir.log")"
read -r pings reponses pire <<EOF
$bilan
EOF
[ "$pings" -ge 10 ] || echec "trop peu de pings pendant le tir : $pings"
[ "$reponses" = "$pings" ] || echec "pings sans réponse : $((pings - reponses)) sur $pings"
awk -v p="$pire" 'BEGIN { exit !(p <= 200) }' || echec "une réponse a mis $pire ms"
echo "Wayland vérifié"
